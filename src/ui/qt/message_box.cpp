#include "ui/qt/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "model/controls.h"
#include "ui/qt/model_text.h"

namespace tavrix::qt {

void show_message(QWidget* owner, MessageKind kind, const std::string& text) {
    const QMessageBox::Icon icon = kind == MessageKind::Failure   ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, from_model(window_def().caption), from_model(text), QMessageBox::NoButton,
                    owner);
    box.addButton(from_model(kCloseButton), QMessageBox::AcceptRole);
    box.exec();
}

bool confirmed(QWidget* owner, const std::string& question) {
    QMessageBox box(QMessageBox::Question, from_model(window_def().caption), from_model(question),
                    QMessageBox::NoButton, owner);
    const QPushButton* yes = box.addButton(from_model(kYesButton), QMessageBox::YesRole);
    QPushButton* no = box.addButton(from_model(kNoButton), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace tavrix::qt
