#include "run/output_queue.h"

NotificationPoster postNotification = PostMessageW;

OutputQueue::OutputQueue(HWND target, UINT notification) : window(target), message(notification)
{
}

namespace {

// With the lock held. A refused post leaves the queue unattended, so the
// next step of the pump tries again.
void notifyWindow(OutputQueue& queue)
{
    if (!queue.attended && !queue.closed) {
        queue.attended = postNotification(queue.window, queue.message, 0, 0) != FALSE;
    }
}

// How long the pump waits for room or for a refused post before trying again.
constexpr auto RETRY = std::chrono::milliseconds(50);

} // namespace

bool queueLines(OutputQueue& queue, std::vector<LogLine>& lines)
{
    if (lines.empty()) {
        return true;
    }
    std::unique_lock<std::mutex> guard(queue.lock);
    while (!queue.closed && (queue.lines.size() >= MAX_WAITING_LINES || queue.units >= MAX_WAITING_UNITS)) {
        notifyWindow(queue);
        queue.room.wait_for(guard, RETRY);
    }
    if (queue.closed) {
        return false;
    }
    for (LogLine& line : lines) {
        queue.units += line.text.size();
        queue.lines.push_back(std::move(line));
    }
    lines.clear();
    notifyWindow(queue);
    return true;
}

bool queueRunEnd(OutputQueue& queue, unsigned exitCode)
{
    std::unique_lock<std::mutex> guard(queue.lock);
    queue.exitCode = exitCode;
    // Nothing would come after this to try again: the end must get through.
    for (;;) {
        notifyWindow(queue);
        if (queue.closed) {
            return false;
        }
        if (queue.attended) {
            return true;
        }
        queue.room.wait_for(guard, RETRY);
    }
}

TakenOutput takeOutput(OutputQueue& queue, size_t most)
{
    TakenOutput taken;
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        const size_t count = std::min(most, queue.lines.size());
        taken.lines.reserve(count);
        for (size_t index = 0; index < count; ++index) {
            queue.units -= queue.lines.front().text.size();
            taken.lines.push_back(std::move(queue.lines.front()));
            queue.lines.pop_front();
        }
        taken.more = !queue.lines.empty();
        if (!taken.more) {
            taken.exitCode = queue.exitCode;
            queue.exitCode.reset();
            queue.attended = false;
        }
    }
    queue.room.notify_all();
    return taken;
}

void closeOutputQueue(OutputQueue& queue)
{
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        queue.closed = true;
        queue.lines.clear();
        queue.units = 0;
    }
    queue.room.notify_all();
    SetEvent(queue.gone.get());
}
