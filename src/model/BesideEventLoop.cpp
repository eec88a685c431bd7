#include "BesideEventLoop.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

void run_beside_event_loop(std::function<void()> job, uint stack_size)
{
    const std::unique_ptr<QThread> thread(QThread::create(std::move(job)));
    if (stack_size)
        thread->setStackSize(stack_size);
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    // The loop also ends when the program quits; the job is bounded.
    thread->wait();
}
