#include "ui/qt_main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace brumo {

QtMainThread& QtMainThread::Instance() {
    static QtMainThread instance;
    return instance;
}

void QtMainThread::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

void QtMainThread::Invoke(std::function<void()> task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread()) {
        task();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(task), Qt::BlockingQueuedConnection);
}

} // namespace brumo
