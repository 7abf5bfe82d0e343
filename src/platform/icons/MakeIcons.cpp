// Writes the program's icons into a hicolor theme tree for installing:
//   veltmark_icons <folder>   ->  <folder>/<n>x<n>/apps/veltmark.png
#include "platform/ui/ProgramIcon.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltmark_icons <folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int s : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(s);
        QDir().mkpath(folder);
        QFile out(folder + QStringLiteral("/veltmark.png"));
        if (!out.open(QIODevice::WriteOnly) || out.write(platform::ProgramIconPng(s)) <= 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
