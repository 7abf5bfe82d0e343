// Drives the options store's read operations over arbitrary section files:
// the section parser in memory, as every read of the store runs it over the
// file it has just read (the store itself re-reads the file at each call).
#include "store/OptionsStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const OptionsSection section = OptionsSection::FromBytes(bytes);
    const int count = section.count();
    QString v;
    for (int i = -1; i <= count; ++i) {
        const QString name = section.nameAt(i);
        section.read(Opt_Decode(name), v);
        section.valueAt(i);
        if (section.read(name, v))
            StrictToInt(v);
        section.indexOfValue(section.valueAt(i));
    }
    section.names();
    // Encoding must round-trip every decoded value that holds no stored forms.
    const QString text = ReadOptionsText(bytes);
    if (!text.contains(u'#') && Opt_Decode(Opt_Encode(text)) != text)
        __builtin_trap();
    return 0;
}
