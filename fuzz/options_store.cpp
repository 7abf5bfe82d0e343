// Drives the options store's read operations over arbitrary section files.
#include "store/OptionsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/");
    {
        QFile f(folder + QStringLiteral("Fuzz.ZEL"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    OptionsStore store(folder);
    store.Opt_SelectFile(QStringLiteral("Fuzz"));
    const int count = store.Opt_Count();
    QString v;
    for (int i = -1; i <= count; ++i) {
        const QString name = store.Opt_NameAt(i);
        store.Opt_Read(Opt_Decode(name), v);
        store.Opt_ValueAt(i);
        store.Opt_ReadInt(name, 0);
        store.Opt_IndexOfValue(store.Opt_ValueAt(i));
    }
    store.Opt_Names();
    // Encoding must round-trip every decoded value that holds no stored forms.
    const QString text = ReadOptionsText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!text.contains(u'#') && Opt_Decode(Opt_Encode(text)) != text)
        __builtin_trap();
    return 0;
}
