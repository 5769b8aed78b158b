#include "core/site/PublishCommand.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/text/Codepage.h"

extern char** environ;

namespace tessaly {

namespace {

constexpr int kPollMilliseconds = 100;
// A command that does not end within five seconds of being asked is killed.
constexpr int kPollsBeforeKill = 50;

class Pipe {
public:
    Pipe()
    {
        if (::pipe2(ends_, O_CLOEXEC) != 0) {
            ends_[0] = ends_[1] = -1;
        }
    }
    ~Pipe()
    {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool ok() const { return ends_[0] >= 0; }
    int read() const { return ends_[0]; }
    int write() const { return ends_[1]; }
    void CloseRead() { Close(ends_[0]); }
    void CloseWrite() { Close(ends_[1]); }

private:
    static void Close(int& fd)
    {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    int ends_[2];
};

// The environment of the command: this process's, with TESSALY_ROOT set.
std::vector<std::string> CommandEnvironment(const std::filesystem::path& root)
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "TESSALY_ROOT=", 13) != 0) {
            entries.emplace_back(*entry);
        }
    }
    entries.push_back("TESSALY_ROOT=" + root.string());
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Hands each complete line of what came in to the watcher; a line without
// its end waits for the next read, or the end of the output.
class LineSplitter {
public:
    explicit LineSplitter(const PublishWatch& watch)
        : watch_(watch)
    {
    }

    void Take(std::string_view bytes)
    {
        pending_ += bytes;
        std::size_t start = 0;
        for (std::size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n', start)) {
            Hand(std::string_view(pending_).substr(start, end - start));
            start = end + 1;
        }
        pending_.erase(0, start);
    }

    void Finish()
    {
        if (!pending_.empty()) {
            Hand(pending_);
            pending_.clear();
        }
    }

private:
    void Hand(std::string_view line)
    {
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (watch_.line) {
            watch_.line(line);
        }
    }

    const PublishWatch& watch_;
    std::string pending_;
};

} // namespace

PublishOutcome RunPublishCommand(const Utf8Text& command, const std::filesystem::path& root, const PublishWatch& watch)
{
    PublishOutcome outcome;
    Pipe output;
    if (!output.ok()) {
        outcome.error = Utf8Text(std::strerror(errno));
        return outcome;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.write(), STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, root.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that stopping it stops what it started.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<std::string> arguments{"sh", "-c", command.bytes()};
    std::vector<std::string> environment = CommandEnvironment(root);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, "/bin/sh", &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    output.CloseWrite();
    if (spawned != 0) {
        outcome.error = Utf8Text(std::strerror(spawned));
        return outcome;
    }

    // What the command leaves running in the background may keep the pipe
    // open: the command is done when its shell is, and what is in the pipe
    // by then is read without waiting for more.
    ::fcntl(output.read(), F_SETFL, ::fcntl(output.read(), F_GETFL) | O_NONBLOCK);
    LineSplitter lines(watch);
    const auto readAvailable = [&output, &lines] {
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(output.read(), buffer, sizeof buffer);
            if (got > 0) {
                lines.Take(std::string_view(buffer, static_cast<std::size_t>(got)));
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else {
                return got == 0; // true at the end of the output
            }
        }
    };
    bool stopped = false;
    int pollsSinceStop = 0;
    int status = 0;
    bool exited = false;
    for (;;) {
        if (!stopped && watch.shouldStop && watch.shouldStop()) {
            ::kill(-child, SIGTERM);
            stopped = true;
        } else if (stopped && ++pollsSinceStop == kPollsBeforeKill) {
            ::kill(-child, SIGKILL); // it would not end when asked
        }
        pollfd ready{output.read(), POLLIN, 0};
        const int polled = ::poll(&ready, 1, kPollMilliseconds);
        if (polled < 0 && errno != EINTR) {
            break;
        }
        if (polled > 0 && readAvailable()) {
            break;
        }
        if (::waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            readAvailable();
            break;
        }
    }
    lines.Finish();
    while (!exited && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    } else {
        outcome.exitCode = WEXITSTATUS(status);
    }
    if (stopped) {
        outcome.status = PublishOutcome::Status::Stopped;
    } else {
        outcome.status = outcome.signal == 0 && outcome.exitCode == 0 ? PublishOutcome::Status::Succeeded
                                                                      : PublishOutcome::Status::Failed;
    }
    return outcome;
}

SjisText PublishOutcomeLine(const PublishOutcome& outcome)
{
    switch (outcome.status) {
    case PublishOutcome::Status::Succeeded: return SjisText(SJ("公開\t公開コマンドが終了しました (終了コード 0)."));
    case PublishOutcome::Status::Stopped: return SjisText(SJ("エラー\t公開コマンドを中止しました."));
    case PublishOutcome::Status::NotStarted:
        return SjisText(SJ("エラー\t公開コマンドを開始できませんでした: ") + ToSjis(outcome.error).bytes());
    case PublishOutcome::Status::Failed: break;
    }
    if (outcome.signal != 0) {
        return SjisText(SJ("エラー\t公開コマンドがシグナル ") + std::to_string(outcome.signal) + SJ(" で終了しました."));
    }
    return SjisText(SJ("エラー\t公開コマンドが失敗しました (終了コード ") + std::to_string(outcome.exitCode) + SJ(")."));
}

SjisText PublishOutputLine(std::string_view line)
{
    if (!Utf8ToUtf16(line)) {
        return SjisText(Utf8ToSjisNearest(SjisToUtf8Lossy(line)).text);
    }
    return SjisText(Utf8ToSjisNearest(line).text);
}

} // namespace tessaly
