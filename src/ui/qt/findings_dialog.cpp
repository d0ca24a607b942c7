#include "ui/qt/findings_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/menus.h"
#include "storyboard/check.h"
#include "ui/qt/model_text.h"

namespace tavrix::qt {
namespace {

QString joined(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines)
        shown.append(QString::fromStdString(line));
    return shown.join(QLatin1Char('\n'));
}

// The lines in a read-only text that can be copied.
void show_lines(QWidget* parent, const QString& title, const QString& lines) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(lines, &dialog);
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

}  // namespace

void show_findings(QWidget* parent, const std::vector<std::string>& findings) {
    show_lines(parent, QStringLiteral("Comprobar"),
               findings.empty() ? from_model(kNoFindings) : joined(findings));
}

void show_not_taken(QWidget* parent, const std::vector<std::string>& lines) {
    show_lines(parent, from_model(kImportCaption), joined(lines));
}

}  // namespace tavrix::qt
