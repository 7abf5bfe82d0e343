#include "app/Install.h"

#include "platform/DesktopIntegration.h"
#include "platform/Folders.h"
#include "platform/Prompts.h"
#include "settings/ShellIntegration.h"
#include "store/OptionItems.h"
#include "store/OptionsStore.h"
#include "store/Utilities.h"

#include <QFile>
#include <QSaveFile>

static void initDefaultsResource() { Q_INIT_RESOURCE(defaults); }

namespace {

QStringList resourceLines(const QString& name)
{
    initDefaultsResource();
    QFile f(QStringLiteral(":/defaults/") + name + QStringLiteral(".txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return SplitLines(QString::fromUtf8(f.readAll()));
}

void putLE16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void putLE32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

const QStringList& RequiredSections()
{
    static const QStringList s = {opt::Program, opt::RColors, opt::Macros, opt::Recent, opt::StyleHelp, opt::UrlAssigns};
    return s;
}

const QStringList& VerbExtensions()
{
    static const QStringList e = {QStringLiteral("HTML"), QStringLiteral("HTM"), QStringLiteral("CSS"),
                                  QStringLiteral("JS"), QStringLiteral("MHT"), QStringLiteral("MHTML")};
    return e;
}

QString ShellVerbCaption() { return QStringLiteral("   редактировать в Veltmark"); }

QString SetupQuestion() { return QStringLiteral("Установить Veltmark в текущую папку ?"); }

QStringList DefaultSectionItems(const QString& section)
{
    if (section == opt::Program || section == opt::Macros || section == opt::StyleHelp)
        return resourceLines(section);
    return {};
}

void WriteMissingSections()
{
    // Each default is written as one text with its own separator between items.
    const struct {
        const QString& section;
        QString separator;
    } filled[] = {
        {opt::Program, QStringLiteral("--")},
        {opt::Macros, QStringLiteral("$$$")},
    };
    for (const auto& f : filled)
        if (!Opt_FileExists(f.section))
            Opt_WriteFileText(f.section, DefaultSectionItems(f.section).join(f.separator), f.separator);
    for (const QString& empty : {opt::Recent, opt::RColors, opt::UrlAssigns})
        if (!Opt_FileExists(empty))
            Opt_CreateFile(empty);
    if (!Opt_FileExists(opt::StyleHelp)) {
        const QString sep = QStringLiteral("---");
        Opt_WriteFileText(opt::StyleHelp, DefaultSectionItems(opt::StyleHelp).join(sep), sep);
    }
}

void RegisterShellVerbs()
{
    for (const QString& ext : VerbExtensions())
        UnregisterShellVerb(ext, ShellVerbCaption());
    for (const QString& ext : VerbExtensions())
        RegisterShellVerb(ext, ShellVerbCaption(), QStringLiteral("[appexename]"));
    // The program's path is the switch's state: the settings' "Система" box
    // shows the integration on from the first run.
    RegWriteString(HKEY_LOCAL_MACHINE, ProgramRegistryKey(), QStringLiteral("Path"), platform::ProgramFilePath());
    // The verb's form on this desktop: the entry with its "edit" action. A
    // failure here is the settings switch's to report.
    platform::InstallDesktopIntegration(platform::ProgramFilePath());
}

SetupResult FirstRunCheck()
{
    bool all = true;
    for (const QString& s : RequiredSections())
        all = all && Opt_FileExists(s);
    if (all)
        return SetupResult::NotNeeded;
    if (platform::prompts().askYesNo(QStringLiteral("Подтверждение"), SetupQuestion(), platform::Answer::Yes)
        != platform::Answer::Yes)
        return SetupResult::Declined;
    WriteMissingSections();
    RegisterShellVerbs();
    return SetupResult::Performed;
}

QByteArray IcoFromPng(const QByteArray& png, int width, int height)
{
    QByteArray ico;
    putLE16(ico, 0); // reserved
    putLE16(ico, 1); // icon
    putLE16(ico, 1); // one picture
    ico.append(char(width >= 256 ? 0 : width));
    ico.append(char(height >= 256 ? 0 : height));
    ico.append(char(0)); // no palette
    ico.append(char(0));
    putLE16(ico, 1);  // planes
    putLE16(ico, 32); // bits per pixel
    putLE32(ico, quint32(png.size()));
    putLE32(ico, 6 + 16);
    ico.append(png);
    return ico;
}

bool RegisterOptionsFileType()
{
    const QString icon = WindowsFolder() + QStringLiteral("ZEL.ico");
    initDefaultsResource();
    QFile picture(QStringLiteral(":/defaults/ZELICO.png"));
    bool ok = picture.open(QIODevice::ReadOnly);
    if (ok) {
        QSaveFile out(icon);
        ok = out.open(QIODevice::WriteOnly);
        if (ok) {
            out.write(IcoFromPng(picture.readAll(), 32, 32));
            ok = out.commit();
        }
    }
    ok = RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral(".ZEL"), QString(), QStringLiteral("OstrabendOptionsFile")) && ok;
    ok = RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral("OstrabendOptionsFile"), QString(), QStringLiteral("Ostrabend Options File")) && ok;
    ok = RegWriteString(HKEY_CLASSES_ROOT, QStringLiteral("OstrabendOptionsFile\\DefaultIcon"), QString(), icon) && ok;
    return ok;
}
