#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace brumo::test {

// Answers the modal dialogs a test's action opens: each time a modal window of type T is
// on top, the handler runs on it (and should close it). Lives for one scope.
class ModalDriver {
public:
    template <typename T> void On(std::function<void(T*)> handler) {
        handlers_.push_back([handler](QWidget* w) {
            if (auto* dialog = qobject_cast<T*>(w)) {
                handler(dialog);
                return true;
            }
            return false;
        });
    }

    ModalDriver() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* top = QApplication::activeModalWidget();
            if (!top || !top->isVisible() || top == busy_)
                return;
            for (auto& handler : handlers_) {
                busy_ = top;
                const bool handled = handler(top);
                busy_ = nullptr;
                if (handled) {
                    ++answered_;
                    return;
                }
            }
        });
        timer_.start(10);
    }

    int Answered() const { return answered_; }

private:
    QTimer timer_;
    std::vector<std::function<bool(QWidget*)>> handlers_;
    QWidget* busy_ = nullptr;
    int answered_ = 0;
};

} // namespace brumo::test
