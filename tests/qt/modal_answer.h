// Answers the modal windows a test's action opens, from inside the event loop each runs.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Answers the next modal window of type T, from inside the event loop it runs.
template <typename T>
class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(T&)> answer) : answer_(std::move(answer)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()); modal) {
                ++seen_;
                answer_(*modal);
            }
        });
        poll_.start(20);
    }
    int seen() const { return seen_; }

  private:
    std::function<void(T&)> answer_;
    QTimer poll_;
    int seen_ = 0;
};
