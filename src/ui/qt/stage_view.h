// The stage of the preview on screen: the pixels the stage composed, shown at a whole
// factor of their size without smoothing, so that each of them is a square of the screen.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>

#include "stage/compose.h"

namespace tavrix::qt {

class StageView final : public QWidget {
  public:
    explicit StageView(QWidget* parent = nullptr);

    // Where the stage is drawn; update() shows it.
    StagePixels pixels() { return StagePixels(pixels_); }

    int scale() const { return scale_; }
    void set_scale(int factor);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::array<std::uint8_t, kStageBytes> pixels_{};
    QImage image_;  // pixels_, not a copy
    int scale_ = 1;
};

}  // namespace tavrix::qt
