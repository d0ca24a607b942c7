// The window Form1 on screen: one Qt widget per control of the table, kept in line with the
// model. A person's edits go to the model as that control's event; afterwards every widget
// whose properties the cascade touched is brought back in line with the model.
#pragma once

#include <QWidget>

#include <array>
#include <bitset>
#include <string>

#include "app/form1.h"
#include "system/platform.h"
#include "ui/qt/run_watch.h"

class QLineEdit;

namespace tavrix::qt {

class EditorWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit EditorWindow(Platform platform = system_platform(), QWidget* parent = nullptr);

    const Form1& form() const { return form_; }
    Form1& form() { return form_; }
    QWidget* widget(ControlId id) const { return widgets_[index_of(id)]; }

    // "Archivo listo para el motor" of the "Herramientas" menu, a change to the session.
    void set_engine_ready(bool on) {
        form_.set_engine_ready(on);
        emit edited();
    }

    // "Generar!", as its button does.
    void generate();
    // "Generar storyboard completo", into the file in "Nombre del archivo:".
    void export_storyboard();
    // Brings every widget whose properties the model changed outside a person's action (a
    // session opened) back in line with the model.
    void sync_changed();

  signals:
    // After every action of a person on the form, once the widgets show its outcome.
    void edited();

  private:
    QWidget* create_widget(const ControlDef& def);
    void wire(ControlId id, QWidget* widget);
    void chain_focus();
    void name_controls();

    void on_text_edited(ControlId id, QLineEdit* box);
    void on_clicked(ControlId id);
    void sync_after(ControlId acted_on);
    void sync(ControlId id);

    Form1 form_;
    std::array<QWidget*, kControlCount> widgets_{};
    std::bitset<kControlCount> dirty_;
    RunWatch run_watch_;
};

}  // namespace tavrix::qt
