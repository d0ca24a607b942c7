// The result of a step that can fail: its value, or why it failed. Status<E> is the same for
// a step that yields nothing but success.
#pragma once

#include <utility>
#include <variant>

namespace tavrix {

template <typename T, typename E>
class [[nodiscard]] Expected {
  public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    const E& error() const { return std::get<1>(state_); }
    E& error() { return std::get<1>(state_); }

  private:
    std::variant<T, E> state_;
};

struct Success {};

template <typename E>
using Status = Expected<Success, E>;

}  // namespace tavrix
