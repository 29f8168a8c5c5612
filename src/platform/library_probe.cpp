#include "platform/library_probe.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kx {

#ifdef _WIN32

TLibraryProbeResult ProbeLibrary(const char*, const char*, std::chrono::milliseconds deadline) {
    TLibraryProbeResult result;
    result.Outcome = TProbeOutcome::Sound;
    result.Deadline = deadline;
    return result;
}

#else

namespace {

// What the child writes into the pipe, one record after the other. The last
// one it wrote tells how far it got when it died.
constexpr char kLoaded = 'L';          // the library is loaded
constexpr char kMissingLibrary = 'X';  // no such library; a length byte and the loader's text follow
constexpr char kNotLoadable = 'N';     // the loader refused it; a length byte and its text follow
constexpr char kNoFunction = 'F';      // loaded, the function is not exported
constexpr char kReturned = 'R';        // the function returned; four bytes of result follow

using TClock = std::chrono::steady_clock;

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

// The child's whole life. It is a copy of a program that may run several
// threads, so it keeps to what is safe after fork in practice: the dynamic
// loader, the library's own code, write and _exit. _exit skips the atexit
// handlers and destructors that belong to the parent's copy of the program.
[[noreturn]] void RunChild(int fd, const char* fileName, const char* functionName) {
    // A fault in the library must end the child with its signal, whatever
    // handlers the program installed for itself.
    for (int s : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS}) {
        signal(s, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    void* module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* text = dlerror();
        if (text == nullptr) {
            text = "";
        }
        const std::size_t size = std::min<std::size_t>(std::strlen(text), 255);
        const char* notFound = std::strerror(ENOENT);
        const bool missing = std::strstr(text, notFound) != nullptr;
        const char header[2] = {missing ? kMissingLibrary : kNotLoadable, static_cast<char>(size)};
        WriteAll(fd, header, sizeof header);
        WriteAll(fd, text, size);
        _exit(0);
    }
    WriteAll(fd, &kLoaded, 1);
    void* address = dlsym(module, functionName);
    if (address == nullptr) {
        WriteAll(fd, &kNoFunction, 1);
        _exit(0);
    }
    const auto function = reinterpret_cast<std::int32_t (*)()>(address);
    const std::int32_t value = function();
    char record[1 + sizeof value];
    record[0] = kReturned;
    std::memcpy(record + 1, &value, sizeof value);
    WriteAll(fd, record, sizeof record);
    _exit(0);
}

// True once the bytes read so far end in a record after which the child has
// nothing more to say.
bool Complete(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char kind = bytes[i];
        if (kind == kLoaded) {
            ++i;
        } else if (kind == kNoFunction) {
            return true;
        } else if (kind == kReturned) {
            return bytes.size() >= i + 1 + sizeof(std::int32_t);
        } else if (kind == kMissingLibrary || kind == kNotLoadable) {
            return bytes.size() >= i + 2 && bytes.size() >= i + 2 + static_cast<unsigned char>(bytes[i + 1]);
        } else {
            return true;  // a record the parent does not know: nothing to wait for
        }
    }
    return false;
}

void Interpret(const std::string& bytes, TLibraryProbeResult& result, bool& loaded, bool& finished) {
    loaded = false;
    finished = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char kind = bytes[i];
        if (kind == kLoaded) {
            loaded = true;
            ++i;
        } else if (kind == kNoFunction) {
            result.Outcome = TProbeOutcome::Sound;
            result.FunctionFound = false;
            finished = true;
            return;
        } else if (kind == kReturned && bytes.size() >= i + 1 + sizeof(std::int32_t)) {
            result.Outcome = TProbeOutcome::Sound;
            result.FunctionFound = true;
            std::memcpy(&result.Result, bytes.data() + i + 1, sizeof result.Result);
            finished = true;
            return;
        } else if ((kind == kMissingLibrary || kind == kNotLoadable) && bytes.size() >= i + 2) {
            const std::size_t size = static_cast<unsigned char>(bytes[i + 1]);
            result.Outcome = kind == kMissingLibrary ? TProbeOutcome::Missing : TProbeOutcome::NotLoadable;
            result.Detail = bytes.substr(i + 2, size);
            finished = true;
            return;
        } else {
            return;
        }
    }
}

// Waits for the child to end, at most until limit; kills it after that.
// Returns its wait status, or -1 when it could not be collected.
int Reap(pid_t child, TClock::time_point limit) {
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (TClock::now() >= limit) {
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0) {
                if (errno != EINTR) {
                    return -1;
                }
            }
            return status;
        }
        // The child has closed its end of the pipe and is on its way out;
        // a short pause, not a busy loop, until the system has reaped it.
        struct timespec pause {
            0, 1000000
        };
        nanosleep(&pause, nullptr);
    }
}

}  // namespace

TLibraryProbeResult ProbeLibrary(const char* fileName, const char* functionName,
                                 std::chrono::milliseconds deadline) {
    TLibraryProbeResult result;
    result.Deadline = deadline;
    if (fileName == nullptr || *fileName == '\0' || functionName == nullptr) {
        result.Outcome = TProbeOutcome::Missing;
        return result;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.Outcome = TProbeOutcome::ProbeFailed;
        result.Detail = std::strerror(errno);
        return result;
    }
    const TClock::time_point limit = TClock::now() + deadline;
    const pid_t child = fork();
    if (child < 0) {
        result.Outcome = TProbeOutcome::ProbeFailed;
        result.Detail = std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (child == 0) {
        close(fds[0]);
        RunChild(fds[1], fileName, functionName);
    }
    close(fds[1]);

    std::string bytes;
    bool timedOut = false;
    while (!Complete(bytes)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - TClock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left.count()) + 1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            continue;  // the deadline check above decides
        }
        char chunk[512];
        const ssize_t n = read(fds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;  // the child closed the pipe: it has ended or is ending
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    close(fds[0]);

    bool loaded = false;
    bool finished = false;
    Interpret(bytes, result, loaded, finished);
    if (timedOut) {
        kill(child, SIGKILL);
    }
    if (finished) {
        // The child's last step after its report is _exit, which no code of
        // the library can delay, so waiting for it cannot hang.
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return result;
    }
    const int status = Reap(child, limit);
    if (timedOut) {
        result.Outcome = loaded ? TProbeOutcome::HungInCall : TProbeOutcome::HungLoading;
        return result;
    }
    result.Outcome = loaded ? TProbeOutcome::CrashedInCall : TProbeOutcome::CrashedLoading;
    if (status != -1 && WIFSIGNALED(status)) {
        result.Signal = WTERMSIG(status);
    } else if (status != -1 && WIFEXITED(status)) {
        result.Detail = "exit status " + std::to_string(WEXITSTATUS(status));
    }
    return result;
}

#endif

std::string DescribeProbe(const std::string& fileName, const std::string& functionName,
                          const TLibraryProbeResult& result) {
    auto cause = [&result]() {
        if (result.Signal != 0) {
            return " (signal " + std::to_string(result.Signal) + ")";
        }
        return result.Detail.empty() ? std::string() : " (" + result.Detail + ")";
    };
    const std::string waited = std::to_string(result.Deadline.count()) + " ms";
    switch (result.Outcome) {
        case TProbeOutcome::Sound:
            return fileName + " loaded";
        case TProbeOutcome::Missing:
            return fileName + " was not found";
        case TProbeOutcome::NotLoadable:
            return fileName + " is not a loadable library" +
                   (result.Detail.empty() ? std::string() : " (" + result.Detail + ")");
        case TProbeOutcome::CrashedLoading:
            return fileName + " crashed while loading" + cause();
        case TProbeOutcome::CrashedInCall:
            return fileName + " crashed in " + functionName + cause();
        case TProbeOutcome::HungLoading:
            return fileName + " did not finish loading within " + waited;
        case TProbeOutcome::HungInCall:
            return fileName + " did not return from " + functionName + " within " + waited;
        case TProbeOutcome::ProbeFailed:
            return fileName + " could not be tried out" +
                   (result.Detail.empty() ? std::string() : " (" + result.Detail + ")");
    }
    return fileName;
}

}  // namespace kx
