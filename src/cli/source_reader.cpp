#include "cli/source_reader.h"

#include "jar/jar_exception.h"
#include "platform/ordered_work.h"

#include <memory>

namespace {

void ReadOne(SourceRead& read, bool byChapters, const SourceReading& reading, const std::atomic<bool>& cancel)
{
    read.title = TitleFromFileName(read.path);
    // Cancelling stops a file's import too, within a piece of it.
    const auto stopIfCancelled = [&cancel](std::size_t, std::size_t) {
        if (cancel)
            throw CJarException(CJarException::cancelled);
    };
    try {
        read.opened =
            AddSourceFile(read.list, read.path, read.title, &read.added, byChapters, stopIfCancelled, reading);
    } catch (...) {
        read.failure = std::current_exception();
    }
}

} // namespace

void ReadSourcesInOrder(const std::vector<std::string>& paths, unsigned threads, std::size_t ahead,
                        const std::atomic<bool>& cancel, const std::function<bool(SourceRead&)>& onRead,
                        bool byChapters, const SourceReading& reading)
{
    RunInOrder<std::unique_ptr<SourceRead>>(
        paths.size(), threads, ahead,
        [&](std::size_t i) {
            auto read = std::make_unique<SourceRead>();
            read->path = paths[i];
            ReadOne(*read, byChapters, reading, cancel);
            return read;
        },
        [&](std::size_t, std::unique_ptr<SourceRead>& read) { return onRead(*read); }, &cancel);
}
