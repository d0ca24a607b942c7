#include "ui/qt/preview_window.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/preview_view.h"
#include "ui/qt/editor_window.h"
#include "ui/qt/model_text.h"
#include "ui/qt/stage_view.h"

namespace tavrix::qt {
namespace {

constexpr int kGap = 8;  // between the editor's frame and the preview's

// The keys belong to the window: a focused button or slider would take Space and the
// arrows for itself.
template <typename W>
W* without_focus(W* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

QPushButton* button(const QString& caption, QWidget* parent) {
    auto* made = without_focus(new QPushButton(caption, parent));
    made->setAutoDefault(false);
    return made;
}

QLabel* status_label(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

PreviewWindow::PreviewWindow(EditorWindow& editor, OpenSprites open_sprites, PreviewClock::Now now,
                             QWidget* parent)
    : QWidget(parent, Qt::Window),
      preview_(editor.form(), std::move(open_sprites), std::move(now)),
      stage_(new StageView(this)),
      timeline_(without_focus(new QSlider(Qt::Horizontal, this))),
      play_(button(QString(), this)),
      scale_(without_focus(new QComboBox(this))),
      status_(status_label(this)),
      placeholder_(status_label(this)) {
    setWindowTitle(from_model(kPreviewTitle));
    build();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kRedrawMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &PreviewWindow::redraw);
    connect(&editor, &EditorWindow::edited, this, &PreviewWindow::redraw);
    set_scale(kDefaultScale);
    redraw();
}

void PreviewWindow::build() {
    stage_->setObjectName(QStringLiteral("stage"));
    timeline_->setObjectName(QStringLiteral("timeline"));
    timeline_->setAccessibleName(from_model(kTimelineName));
    play_->setObjectName(QStringLiteral("play"));
    status_->setObjectName(QStringLiteral("status"));
    placeholder_->setObjectName(QStringLiteral("placeholder"));
    // The reason may name a long path: it breaks into two lines rather than widen the window.
    placeholder_->setWordWrap(true);
    placeholder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeholder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    placeholder_->setFixedHeight(2 * placeholder_->fontMetrics().lineSpacing());
    scale_->setObjectName(QStringLiteral("scale"));
    for (int factor = kSmallestScale; factor <= kLargestScale; ++factor)
        scale_->addItem(from_model(scale_caption(factor)), factor);
    auto* back = button(from_model(kStepBackCaption), this);
    auto* forward = button(from_model(kStepForwardCaption), this);
    auto* scale_label = new QLabel(from_model(kScaleCaption), this);
    scale_label->setBuddy(scale_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(play_);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    buttons->addWidget(scale_label);
    buttons->addWidget(scale_);
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);  // follows the stage's scale
    column->addWidget(stage_);
    column->addWidget(timeline_);
    column->addLayout(buttons);
    column->addWidget(status_);
    column->addWidget(placeholder_);

    connect(play_, &QPushButton::clicked, this, [this] {
        preview_.toggle();
        redraw();
    });
    connect(back, &QPushButton::clicked, this, [this] {
        preview_.step(-1);
        redraw();
    });
    connect(forward, &QPushButton::clicked, this, [this] {
        preview_.step(1);
        redraw();
    });
    connect(timeline_, &QSlider::valueChanged, this, [this](int tick) {
        preview_.seek(tick);
        redraw();
    });
    connect(scale_, &QComboBox::currentIndexChanged, this,
            [this](int index) { set_scale(scale_->itemData(index).toInt()); });
}

void PreviewWindow::set_scale(int factor) {
    const QSignalBlocker quiet(scale_);
    scale_->setCurrentIndex(scale_->findData(factor));
    stage_->set_scale(factor);
}

void PreviewWindow::redraw() {
    const PreviewStatus status = preview_.draw(stage_->pixels());
    stage_->update();
    {
        const QSignalBlocker quiet(timeline_);  // a tick shown is not a tick asked for
        timeline_->setRange(0, timeline_value(status.end_time));
        if (!timeline_->isSliderDown())  // the handle stays under the person's pointer
            timeline_->setValue(timeline_value(status.tick));
    }
    play_->setText(from_model(play_caption(status.playing)));
    status_->setText(from_model(status_line(status)));
    placeholder_->setText(from_model(status.placeholder));
    if (!status.playing)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Space:
            preview_.toggle();
            break;
        case Qt::Key_Left:
            preview_.step(-1);
            break;
        case Qt::Key_Right:
            preview_.step(1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    redraw();
}

// Beside the editor, drawn back within the screen's available area where that would leave
// it past the right or bottom edge (the top-left corner stays on the screen first).
void place_beside(QWidget& preview, const QWidget& beside) {
    // Its frame is not known before it is shown: taken as wide as the editor's.
    const QSize decoration = beside.frameGeometry().size() - beside.geometry().size();
    QRect frame(beside.frameGeometry().topRight() + QPoint(kGap, 0),
                preview.sizeHint() + decoration);
    if (const QScreen* screen = beside.screen()) {
        const QRect area = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), area.right()));
        frame.moveBottom(std::min(frame.bottom(), area.bottom()));
        frame.moveTopLeft({std::max(frame.left(), area.left()), std::max(frame.top(), area.top())});
    }
    preview.move(frame.topLeft());
}

void show_preview(EditorWindow& editor, const OpenSprites& open_sprites) {
    QWidget* beside = editor.window();
    auto* preview = beside->findChild<PreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!preview) {
        preview = new PreviewWindow(editor, open_sprites, std::chrono::steady_clock::now, beside);
        preview->setAttribute(Qt::WA_DeleteOnClose);  // and its timer with it
        place_beside(*preview, *beside);
    }
    preview->show();
    preview->raise();
    preview->activateWindow();
}

}  // namespace tavrix::qt
