// What the Qt window tests do as a person: type into a field, read a file back, and answer
// the modal windows an action opens, from inside the event loop each runs.
#pragma once

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
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

// Selects all the field holds and types `keys` over it.
inline void type_over(QWidget* field, const QString& keys) {
    auto* box = qobject_cast<QLineEdit*>(field);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, keys);
}

// What the file holds; nothing when it cannot be read.
inline QByteArray read_all(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
