#include "cli/source_reader.h"

#include "cli/cli_paths.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

void ReadOne(SourceRead& read)
{
    read.title = TitleFromFileName(FileNameOf(read.path));
    try {
        read.opened = AddSourceFile(read.list, read.path, read.title, &read.added);
    } catch (...) {
        read.failure = std::current_exception();
    }
}

} // namespace

void ReadSourcesInOrder(const std::vector<std::string>& paths, unsigned threads, std::size_t ahead,
                        const std::atomic<bool>& cancel, const std::function<void(SourceRead&)>& onRead)
{
    const std::size_t count = paths.size();
    std::vector<std::unique_ptr<SourceRead>> done(count);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;      // the next file a worker takes
    std::size_t consumed = 0;  // files handed over so far
    bool stop = false;

    auto work = [&] {
        for (;;) {
            std::size_t i;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || cancel || next >= count || next < consumed + ahead; });
                if (stop || cancel || next >= count)
                    return;
                i = next++;
            }
            auto read = std::make_unique<SourceRead>();
            read->path = paths[i];
            ReadOne(*read);
            {
                std::lock_guard lock(mutex);
                done[i] = std::move(read);
            }
            changed.notify_all();
        }
    };

    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::max(1u, threads); ++t)
        workers.emplace_back(work);
    auto finish = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& w : workers)
            w.join();
    };

    try {
        for (std::size_t i = 0; i < count; ++i) {
            std::unique_ptr<SourceRead> read;
            {
                std::unique_lock lock(mutex);
                // Polled as well: a cancel from a signal handler cannot notify.
                while (!done[i] && !cancel)
                    changed.wait_for(lock, std::chrono::milliseconds(50));
                if (cancel)
                    break;
                read = std::move(done[i]);
                consumed = i + 1;
            }
            changed.notify_all();
            onRead(*read);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}
