#include "ui/qt/stage_view.h"

#include <QPainter>

namespace tavrix::qt {

StageView::StageView(QWidget* parent)
    : QWidget(parent),
      image_(pixels_.data(), kStageWidth, kStageHeight, kStageWidth * 4, QImage::Format_RGBA8888) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel of the stage is opaque
    set_scale(1);
}

void StageView::set_scale(int factor) {
    scale_ = factor;
    setFixedSize(kStageWidth * factor, kStageHeight * factor);
    update();
}

void StageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), image_);
}

}  // namespace tavrix::qt
