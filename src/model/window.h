// The controls of Form1 with their properties and synchronous events: the small layer that
// stands in for a window system. Assigning a different text raises the box's Change inside
// the assignment; assigning the text it holds raises nothing. Check boxes likewise raise
// Click, and pressing a push button raises its Click.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/controls.h"

namespace tavrix {

enum class Property : std::uint8_t { Text, Caption, Value, Enabled, Visible };

// Each property's one name, as scripts, the dump and session files spell it.
std::string_view property_name(Property property);
std::optional<Property> find_property(std::string_view name);
// A text box has a text and every other kind a caption; only a check box has a value; every
// kind has both flags.
bool has_property(Kind kind, Property property);

// What one control shows: a text box's text or another control's caption, a check box's
// value (0 for the other kinds), and its own two flags.
struct ControlState {
    std::string text;
    int value = 0;
    bool enabled = true;
    bool visible = true;
    bool operator==(const ControlState&) const = default;
};
using ControlStates = std::array<ControlState, kControlCount>;

// Receives the events of the controls; Form1 dispatches them to its handlers.
class EventSink {
  public:
    virtual void on_change(ControlId id) = 0;
    virtual void on_click(ControlId id) = 0;

  protected:
    ~EventSink() = default;
};

// Told of every property that changes, at the moment it changes, so that a screen can
// mirror what a cascade did. It must not assign properties itself.
using PropertyObserver = std::function<void(ControlId, Property)>;

class Window {
  public:
    explicit Window(EventSink& sink);
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& text(ControlId id) const { return state(id).text; }
    const std::string& caption(ControlId id) const { return state(id).text; }
    int value(ControlId id) const { return state(id).value; }
    bool enabled(ControlId id) const { return state(id).enabled; }
    bool visible(ControlId id) const { return state(id).visible; }

    // What the screen shows: a control is enabled, or shown, only when it and every
    // container are. A person can reach a control only when it is both.
    bool enabled_on_screen(ControlId id) const;
    bool visible_on_screen(ControlId id) const;
    bool reachable(ControlId id) const;

    void set_text(ControlId id, std::string_view text);     // text box: raises Change
    void set_caption(ControlId id, std::string_view text);  // label, button, frame, check box
    void set_value(ControlId id, int value);                // check box: raises Click
    void set_enabled(ControlId id, bool enabled);
    void set_visible(ControlId id, bool visible);
    void press(ControlId id);  // push button: raises Click

    void set_observer(PropertyObserver observer) { observer_ = std::move(observer); }

    const ControlStates& states() const { return controls_; }
    // Counts every property that changed, so that what is worked out from the controls
    // (the preview's plan) can tell whether it is still current.
    std::uint64_t revision() const { return revision_; }
    // Puts every control as `states` shows it, raising no event; the observer hears each
    // property that changes.
    void restore(const ControlStates& states);

  private:
    const ControlState& state(ControlId id) const { return controls_[index_of(id)]; }
    ControlState& state(ControlId id) { return controls_[index_of(id)]; }
    void notify(ControlId id, Property property) {
        ++revision_;
        if (observer_)
            observer_(id, property);
    }

    EventSink& sink_;
    ControlStates controls_;
    PropertyObserver observer_;
    std::uint64_t revision_ = 0;
};

}  // namespace tavrix
