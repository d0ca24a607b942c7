#include "ui/qt/tools_menu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "stage/archive_sprites.h"
#include "storyboard/check.h"
#include "ui/qt/editor_window.h"
#include "ui/qt/model_text.h"
#include "ui/qt/preview_window.h"

namespace tavrix::qt {
namespace {

QString findings_text(const std::vector<std::string>& findings) {
    if (findings.empty())
        return from_model(kNoFindings);
    QStringList lines;
    for (const std::string& finding : findings)
        lines.append(QString::fromStdString(finding));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

void add_tools_menu(QMenuBar& bar, EditorWindow& editor) {
    QMenu* tools = bar.addMenu(QStringLiteral("&Herramientas"));
    QAction* check = tools->addAction(QStringLiteral("&Comprobar"));
    check->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    QObject::connect(check, &QAction::triggered, &editor,
                     [&editor] { show_findings(editor.window(), editor.form().check()); });
    QAction* preview = tools->addAction(QStringLiteral("&Vista previa"));
    preview->setShortcut(QKeySequence(Qt::Key_F5));
    QObject::connect(preview, &QAction::triggered, &editor, [&editor] {
        show_preview(editor, archive_sprites_opener(system_platform().file_exists));
    });
    QAction* ready = tools->addAction(QStringLiteral("Archivo &listo para el motor"));
    ready->setObjectName(QStringLiteral("engineReady"));  // an opened session sets it too
    ready->setCheckable(true);
    ready->setChecked(editor.form().engine_ready());
    QObject::connect(ready, &QAction::toggled, &editor,
                     [&editor](bool on) { editor.set_engine_ready(on); });
}

void show_findings(QWidget* parent, const std::vector<std::string>& findings) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Comprobar"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(findings_text(findings), &dialog);
    text->setReadOnly(true);
    text->setObjectName(QStringLiteral("findings"));
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* copy = buttons->addButton(QStringLiteral("Copiar"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(copy, &QPushButton::clicked, &dialog,
                     [text] { QApplication::clipboard()->setText(text->toPlainText()); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(620, 260);
    dialog.exec();
}

}  // namespace tavrix::qt
