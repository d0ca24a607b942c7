// The window "Vista previa", beside the editor: the stage of the scene on the form at a
// whole factor of its size, Reproducir/Pausa (Space), a timeline of the scene's ticks to
// drag, a tick back and forward (Left, Right) and what the stage shows under it. While it
// plays a timer asks for a redraw and the preview's clock says which tick; every edit of
// the form redraws it at once. It only shows what the stage composed.
#pragma once

#include <QTimer>
#include <QWidget>

#include "app/preview.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tavrix::qt {

class EditorWindow;
class StageView;

class PreviewWindow final : public QWidget {
    Q_OBJECT

  public:
    PreviewWindow(EditorWindow& editor, OpenSprites open_sprites,
                  PreviewClock::Now now = std::chrono::steady_clock::now,
                  QWidget* parent = nullptr);

    // Draws the tick the clock shows, as the form stands, and what it shows under it.
    void redraw();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void build();
    void set_scale(int factor);

    Preview preview_;
    StageView* stage_;
    QSlider* timeline_;
    QPushButton* play_;
    QComboBox* scale_;
    QLabel* status_;
    QLabel* placeholder_;
    QTimer timer_;
};

// Shows the preview of the editor's form beside its window, made at the first call and
// gone, timer and all, when the person closes it.
void show_preview(EditorWindow& editor, const OpenSprites& open_sprites);

}  // namespace tavrix::qt
