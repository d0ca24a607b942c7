#include "ui/qt/findings_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "storyboard/check.h"
#include "ui/qt/model_text.h"

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
