#include "ui/qt/editor_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <limits>
#include <string_view>

#include "app/menus.h"
#include "model/field_text.h"
#include "model/names.h"
#include "ui/qt/message_box.h"
#include "ui/qt/model_text.h"

namespace tavrix::qt {
namespace {

QRect pixels(const Twips& place) {
    return QRect(place.left / kTwipsPerPixel, place.top / kTwipsPerPixel,
                 place.width / kTwipsPerPixel, place.height / kTwipsPerPixel);
}

// The model joins a caption's lines with a lone carriage return, which a label does not
// break on.
QString shown_caption(std::string_view caption) {
    return from_model(caption).replace(QChar(u'\r'), QChar(u'\n'));
}

QLabel* make_label(QWidget* parent) {
    auto* label = new QLabel(parent);
    // Captions are shown as written: the credits hold "<" and ">" that must not read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QGroupBox* make_frame(QWidget* parent) {
    auto* frame = new QGroupBox(parent);
    // A frame hides what lies under it on the window, as the separator left beneath the
    // scene header does.
    frame->setAutoFillBackground(true);
    return frame;
}

// Enter on a focused push button presses it, as Space does.
class PushButton final : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && event->modifiers() == Qt::NoModifier) {
            animateClick();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

QPushButton* make_button(QWidget* parent) {
    auto* button = new PushButton(parent);
    // Enter in a text box must not press a button behind the person's back.
    button->setAutoDefault(false);
    return button;
}

QWidget* make_widget(Kind kind, QWidget* parent) {
    switch (kind) {
        case Kind::Label:
            return make_label(parent);
        case Kind::TextBox:
            return new QLineEdit(parent);
        case Kind::CheckBox:
            return new QCheckBox(parent);
        case Kind::Button:
            return make_button(parent);
        case Kind::Frame:
            return make_frame(parent);
    }
    return nullptr;
}

// The box's text after an edit that left the caret after what it put in, with what it put
// in kept as a Win32 edit keeps a paste (pasted_line); the caret moves to the end of what is
// kept. `before` is what the box showed before the edit.
QString as_pasted(const QString& before, const QString& after, int& caret) {
    const qsizetype tail = after.size() - caret;
    qsizetype head = 0;
    for (const qsizetype end = std::min<qsizetype>(before.size() - tail, caret);
         head < end && before[head] == after[head];)
        ++head;
    const QByteArray inserted = after.mid(head, caret - head).toUtf8();
    const std::string_view kept = pasted_line(
        std::string_view(inserted.constData(), static_cast<std::size_t>(inserted.size())));
    if (kept.size() == static_cast<std::size_t>(inserted.size()))
        return after;
    const QString shown = after.left(head) + from_model(kept);
    caret = static_cast<int>(shown.size());
    return shown + after.right(tail);
}

}  // namespace

EditorWindow::EditorWindow(Platform platform, QWidget* parent)
    : QWidget(parent), form_(std::move(platform)), run_watch_(*this) {
    const WindowDef& window = window_def();
    setWindowTitle(from_model(window.caption));
    setFixedSize(window.client_width / kTwipsPerPixel, window.client_height / kTwipsPerPixel);
    // Table order is stacking order, and Qt stacks siblings in the order they are created.
    for (const ControlDef& def : control_table()) {
        QWidget* created = create_widget(def);
        widgets_[index_of(def.id)] = created;
        sync(def.id);
        wire(def.id, created);
    }
    chain_focus();
    name_controls();
    form_.set_observer([this](ControlId id, Property) { dirty_.set(index_of(id)); });
    form_.set_progress_hook(
        [this](const RunProgress& progress) { return run_watch_.keep_going(progress); });
}

QWidget* EditorWindow::create_widget(const ControlDef& def) {
    // Frames come before what they hold in the table, so a container always exists here.
    QWidget* container = def.container ? widget(*def.container) : this;
    QWidget* created = make_widget(def.kind, container);
    created->setObjectName(from_model(def.name));
    created->setGeometry(pixels(shown_place(def)));
    if (!def.tooltip.empty())
        created->setToolTip(from_model(def.tooltip));
    if (auto* box = qobject_cast<QLineEdit*>(created)) {
        box->setReadOnly(def.initially.read_only);
        static_assert(kFieldTextLimit <= std::numeric_limits<int>::max());
        box->setMaxLength(static_cast<int>(kFieldTextLimit));  // Qt's own is 32767
    }
    return created;
}

// Assistive tools read each control by the name a person knows it by, and a label names the
// box beside it.
void EditorWindow::name_controls() {
    for (const ControlDef& def : control_table()) {
        if (const std::string name = control_name(def.id); !name.empty())
            widget(def.id)->setAccessibleName(from_model(name));
        if (const std::optional<ControlId> label = label_of(def.id)) {
            auto* shown = static_cast<QLabel*>(widget(*label));
            if (!shown->buddy())
                shown->setBuddy(widget(def.id));
        }
    }
}

void EditorWindow::wire(ControlId id, QWidget* widget) {
    if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        connect(box, &QLineEdit::textEdited, this, [this, id, box] { on_text_edited(id, box); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { on_clicked(id); });
    }
}

void EditorWindow::chain_focus() {
    const std::vector<ControlId>& order = focus_order();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(widget(order[i - 1]), widget(order[i]));
    if (!order.empty())
        widget(order.front())->setFocus(Qt::OtherFocusReason);
}

void EditorWindow::on_text_edited(ControlId id, QLineEdit* box) {
    int caret = box->cursorPosition();
    const QString typed = as_pasted(from_model(form_.window().text(id)), box->text(), caret);
    // A refused edit is undone by the sync, which shows what the model holds.
    (void)form_.type_text(id, typed.toStdString());
    sync_after(id);
    // A rule replaced what was typed: the new text is selected, so that the next key replaces
    // it instead of joining it, and shown from its first character.
    if (box->text() != typed)
        box->setSelection(static_cast<int>(box->text().size()),
                          -static_cast<int>(box->text().size()));
    else
        box->setCursorPosition(caret);  // after the paste, as it was or as it was cut
    emit edited();
}

void EditorWindow::on_clicked(ControlId id) {
    if (id == kGenerateButton) {
        generate();
        return;
    }
    (void)form_.click(id);  // refused or not, the sync shows what the model holds
    // Qt has already toggled a check box on its own; the model decides what it shows.
    sync_after(id);
    emit edited();
}

void EditorWindow::generate() {
    // A very long run is asked about first; "No" leaves everything as it was.
    if (const std::optional<std::string> question = form_.long_run_question();
        question && !confirmed(this, *question))
        return;
    run_watch_.start(generate_caption());
    const bool refused = form_.click(kGenerateButton) != ActionStatus::Done;
    run_watch_.finish();
    sync_after(kGenerateButton);
    emit edited();
    if (refused)
        return;
    if (const std::optional<Notice> notice = run_notice(*form_.last_run()))
        show_message(this, notice->kind, notice->text);
}

// Shown as "Generar!" shows its run, though it changes nothing on the form.
void EditorWindow::export_storyboard() {
    if (const std::optional<std::string> question = form_.long_export_question();
        question && !confirmed(this, *question))
        return;
    run_watch_.start(kExportCaption);
    const RunResult run = form_.export_storyboard();
    run_watch_.finish();
    if (const std::optional<Notice> notice = export_notice(run, form_.path()))
        show_message(this, notice->kind, notice->text);
}

void EditorWindow::sync_changed() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (dirty_.test(i))
            sync(static_cast<ControlId>(i));
    }
    dirty_.reset();
}

// The acted-on widget is always brought back: a refused action leaves the model as it was,
// and the widget may already show what the person did.
void EditorWindow::sync_after(ControlId acted_on) {
    dirty_.set(index_of(acted_on));
    sync_changed();
}

void EditorWindow::sync(ControlId id) {
    const Window& model = form_.window();
    QWidget* shown = widget(id);
    // Nothing set here may come back to the model as a person's edit.
    const QSignalBlocker quiet(shown);
    const std::string& text = model.text(id);
    switch (control_def(id).kind) {
        case Kind::TextBox: {
            auto* box = static_cast<QLineEdit*>(shown);
            if (box->text() != from_model(text)) {
                box->setText(from_model(text));
                box->setCursorPosition(0);  // a long number shows its first digits
            }
            break;
        }
        case Kind::Label:
            static_cast<QLabel*>(shown)->setText(shown_caption(text));
            break;
        case Kind::CheckBox: {
            auto* box = static_cast<QCheckBox*>(shown);
            box->setText(from_model(text));
            box->setChecked(model.value(id) == 1);
            break;
        }
        case Kind::Button:
            static_cast<QPushButton*>(shown)->setText(from_model(text));
            break;
        case Kind::Frame:
            static_cast<QGroupBox*>(shown)->setTitle(from_model(text));
            break;
    }
    shown->setEnabled(model.enabled(id));
    shown->setVisible(model.visible(id));
}

}  // namespace tavrix::qt
