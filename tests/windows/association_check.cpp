// Not a test by itself: tests/windows/installer_test.sh runs it after installing. Asks Windows for
// the command that opens a .ventora file, puts the case's path (spaces, Chinese) where "%1" is,
// and splits the line the way a program's command line is split. The case must arrive as the one
// argument after the installed program: an unquoted "%1" would split it at its spaces.
//   association_check <expected program> <case path>
#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring program = argv[1];
    const std::wstring case_path = argv[2];
    wchar_t command[2048];
    DWORD size = 2048;
    if (::AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, L".ventora", L"open", command, &size) != S_OK) {
        std::fputs("no open command is registered for .ventora\n", stderr);
        return 1;
    }
    std::wstring line = command;
    const std::size_t at = line.find(L"%1");
    if (at == std::wstring::npos) {
        std::fputs("the open command does not pass the file (%1)\n", stderr);
        return 1;
    }
    line.replace(at, 2, case_path);
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(line.c_str(), &count);
    const bool ok = args != nullptr && count == 2 && ::lstrcmpiW(args[0], program.c_str()) == 0 &&
                    case_path == args[1];
    if (!ok) std::fprintf(stderr, "the command line splits into %d arguments, not the program and the case\n", count);
    if (args) ::LocalFree(args);
    return ok ? 0 : 1;
}
