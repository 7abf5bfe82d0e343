#include "app/plain/Switches.h"

#include "html/plain/CheckCommand.h"

#include <cstdio>
#include <cstring>
#include <vector>

std::string VersionText() { return std::string("Veltmark ") + VELTMARK_VERSION; }

const char* CommandLineHelp()
{
    return "Использование: veltmark [ДОКУМЕНТ [PARENT<номер> [PARENTDOC<путь>]]]\n"
           "\n"
           "Veltmark — редактор веб-страниц, которые пишут вручную.\n"
           "\n"
           "  ДОКУМЕНТ            открыть этот файл (HTML, HTM, CSS, JS, PHP, TXT;\n"
           "                      архив .mht импортируется как новая страница)\n"
           "  PARENT<номер>       второй аргумент: окно редактора, запустившего этот;\n"
           "                      при закрытии управление возвращается ему\n"
           "  PARENTDOC<путь>     третий аргумент: документ того редактора\n"
           "  --check ФАЙЛ...     проверить теги страниц без окна: каждая ошибка —\n"
           "                      строка ФАЙЛ:СТРОКА:СИМВОЛ: СООБЩЕНИЕ; код выхода 0 —\n"
           "                      ошибок нет, 1 — есть ошибки, 2 — файл не прочитан\n"
           "  --help              показать эту справку\n"
           "  --version           показать версию программы\n";
}

std::optional<int> RunWindowlessSwitches(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(CommandLineHelp(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", VersionText().c_str());
            return 0;
        }
    }
    if (argc > 1 && std::strcmp(argv[1], "--check") == 0)
        return RunCheckCommand(std::vector<std::string>(argv + 2, argv + argc), stdout, stderr);
    return std::nullopt;
}
