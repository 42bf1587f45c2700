// Windows: the wide command line, _wopen/_wstat64 on UTF-16 names, file identity by volume
// serial number and file index, and WriteConsoleW for a console.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <thread>

#include "os_io.h"
#include "os_text.h"

namespace ventora::cli::os {

std::vector<std::string> arguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(utf8_from_wide(wide[i]));
    if (wide) ::LocalFree(wide);
    return args;
}

void use_binary_standard_streams() {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

file_kind kind_of(const std::string& name, int& error) {
    struct _stat64 st {};
    if (::_wstat64(wide_from_utf8(name).c_str(), &st) != 0) {
        error = errno;
        return file_kind::missing;
    }
    if ((st.st_mode & _S_IFMT) == _S_IFREG) return file_kind::regular;
    if ((st.st_mode & _S_IFMT) == _S_IFDIR) return file_kind::directory;
    return file_kind::other;
}

int open_read(const std::string& name) {
    return ::_wopen(wide_from_utf8(name).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

namespace {

// A file's identity: the volume's serial number and the file's index on it (st_ino is always 0
// on Windows).
bool identity(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    return h != INVALID_HANDLE_VALUE && ::GetFileType(h) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(h, &info) != 0;
}

}  // namespace

bool is_standard_output(const std::string& name) {
    BY_HANDLE_FILE_INFORMATION out {};
    if (!identity(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stdout))), out)) return false;
    if ((out.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    BY_HANDLE_FILE_INFORMATION in {};
    bool got = false;
    if (name == "-") {
        got = identity(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stdin))), in);
    } else {
        // Opened for no access at all: only its identity is asked for, and a file another
        // program holds open still answers.
        const HANDLE h = ::CreateFileW(wide_from_utf8(name).c_str(), 0,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        got = identity(h, in);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    return got && in.dwVolumeSerialNumber == out.dwVolumeSerialNumber &&
           in.nFileIndexHigh == out.nFileIndexHigh && in.nFileIndexLow == out.nFileIndexLow;
}

void write_error(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

// One console stream taken over: its descriptor now writes into a pipe, and a thread passes what
// arrives to the console as UTF-16. A character split between two reads waits for its rest.
struct utf8_console::stream {
    std::FILE* file = nullptr;
    int fd = -1;
    int kept = -1;  // the console's own descriptor, put back at the end
    int pipe_read = -1;
    std::thread forward;

    static void run(int from, HANDLE console) {
        std::string pending;
        char buffer[4096];
        for (;;) {
            const int n = ::_read(from, buffer, sizeof buffer);
            if (n <= 0) break;
            pending.append(buffer, static_cast<std::size_t>(n));
            // Keep back an incomplete UTF-8 sequence at the end.
            std::size_t cut = pending.size();
            for (std::size_t back = 1; back <= 3 && back <= pending.size(); ++back) {
                const auto c = static_cast<unsigned char>(pending[pending.size() - back]);
                if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
                const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                if (length > back) cut = pending.size() - back;
                break;
            }
            const std::wstring wide = wide_from_utf8(std::string_view(pending).substr(0, cut));
            DWORD written = 0;
            if (!wide.empty()) ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
            pending.erase(0, cut);
        }
        const std::wstring rest = wide_from_utf8(pending);
        DWORD written = 0;
        if (!rest.empty()) ::WriteConsoleW(console, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr);
    }
};

utf8_console::utf8_console() {
    for (std::FILE* file : {stdout, stderr}) {
        const int fd = ::_fileno(file);
        DWORD mode = 0;
        if (::GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &mode) == 0) continue;
        int ends[2];
        if (::_pipe(ends, 4096, _O_BINARY | _O_NOINHERIT) != 0) continue;
        auto* s = new stream;
        s->file = file;
        s->fd = fd;
        s->kept = ::_dup(fd);
        s->pipe_read = ends[0];
        std::fflush(file);
        ::_dup2(ends[1], fd);
        ::_close(ends[1]);
        s->forward = std::thread(stream::run, ends[0], reinterpret_cast<HANDLE>(::_get_osfhandle(s->kept)));
        streams_.push_back(s);
    }
}

utf8_console::~utf8_console() {
    for (stream* s : streams_) {
        std::fflush(s->file);
        ::_dup2(s->kept, s->fd);  // closes the pipe's last writing end: the thread reads its end
        s->forward.join();
        ::_close(s->pipe_read);
        ::_close(s->kept);
        delete s;
    }
}

}  // namespace ventora::cli::os

namespace ventora::cli::os {

std::wstring wide_from_utf8(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string utf8_from_wide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                          nullptr);
    return utf8;
}

}  // namespace ventora::cli::os
