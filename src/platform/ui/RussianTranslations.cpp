#include "platform/ui/RussianTranslations.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHash>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {
namespace {

struct Text {
    const char* context;
    const char* source;
    const char* russian;
};

// Texts of Qt's dialogs and menus that the system's Qt translations may lack.
const Text kTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "Папка"},
    {"QAbstractFileIconProvider", "File", "Файл"},
    {"QAbstractFileIconProvider", "%1 File", "Файл %1"},
    {"QAbstractFileIconProvider", "Drive", "Диск"},
    {"QAbstractFileIconProvider", "Shortcut", "Ярлык"},
    {"QAbstractFileIconProvider", "Alias", "Псевдоним"},
    {"QAbstractFileIconProvider", "Unknown", "Неизвестно"},
    {"QFileSystemModel", "Name", "Имя"},
    {"QFileSystemModel", "Size", "Размер"},
    {"QFileSystemModel", "Type", "Тип"},
    {"QFileSystemModel", "Kind", "Тип"},
    {"QFileSystemModel", "Date Modified", "Дата изменения"},
    {"QFileSystemModel", "My Computer", "Мой компьютер"},
    {"QFileSystemModel", "Computer", "Компьютер"},
    {"QFileSystemModel", "Invalid filename", "Недопустимое имя файла"},
    {"QFileSystemModel", "%1 TB", "%1 ТБ"},
    {"QFileSystemModel", "%1 GB", "%1 ГБ"},
    {"QFileSystemModel", "%1 MB", "%1 МБ"},
    {"QFileSystemModel", "%1 KB", "%1 КБ"},
    {"QFileSystemModel", "%1 bytes", "%1 байт"},
    {"QFileDialog", "Look in:", "Папка:"},
    {"QFileDialog", "File &name:", "&Имя файла:"},
    {"QFileDialog", "Files of type:", "Тип файлов:"},
    {"QFileDialog", "Back", "Назад"},
    {"QFileDialog", "Forward", "Вперёд"},
    {"QFileDialog", "Parent Directory", "Родительская папка"},
    {"QFileDialog", "Create New Folder", "Создать папку"},
    {"QFileDialog", "List View", "Список"},
    {"QFileDialog", "Detail View", "Таблица"},
    {"QFileDialog", "Sidebar", "Боковая панель"},
    {"QFileDialog", "Go back", "Назад"},
    {"QFileDialog", "Go forward", "Вперёд"},
    {"QFileDialog", "Go to the parent directory", "Перейти в родительскую папку"},
    {"QFileDialog", "Create a New Folder", "Создать папку"},
    {"QFileDialog", "Change to list view mode", "Показать списком"},
    {"QFileDialog", "Change to detail view mode", "Показать таблицей"},
    {"QFileDialog", "List of places and bookmarks", "Места и закладки"},
    {"QFileDialog", "Files", "Файлы"},
    {"QFileDialog", "Recent Places", "Недавние места"},
    {"QFileDialog", "&Open", "&Открыть"},
    {"QFileDialog", "&Save", "&Сохранить"},
    {"QFileDialog", "&Choose", "&Выбрать"},
    {"QFileDialog", "Open", "Открыть"},
    {"QFileDialog", "Save As", "Сохранить как"},
    {"QFileDialog", "&Rename", "&Переименовать"},
    {"QFileDialog", "&Delete", "&Удалить"},
    {"QFileDialog", "Show &hidden files", "Показывать &скрытые файлы"},
    {"QFileDialog", "&New Folder", "&Новая папка"},
    {"QFileDialog", "New Folder", "Новая папка"},
    {"QFileDialog", "Remove", "Убрать"},
    {"QFileDialog", "Directory:", "Папка:"},
    {"QFileDialog", "File", "Файл"},
    {"QFileDialog", "Folder", "Папка"},
    {"QFileDialog", "Directories", "Папки"},
    {"QFileDialog", "All Files (*)", "Все файлы (*)"},
    {"QFileDialog", "Find Directory", "Выбор папки"},
    {"QFileDialog", "My Computer", "Мой компьютер"},
    {"QFileDialog", "Drive", "Диск"},
    {"QFileDialog", "Unknown", "Неизвестно"},
    {"QFileDialog", "Alias", "Псевдоним"},
    {"QFileDialog", "Shortcut", "Ярлык"},
    {"QFileDialog", "Are you sure you want to delete '%1'?", "Удалить «%1»?"},
    {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
     "«%1» защищён от записи.\nВсё равно удалить?"},
    {"QFileDialog", "Could not delete directory.", "Не удалось удалить папку."},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?", "%1 уже существует.\nЗаменить?"},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nФайл не найден.\nПроверьте имя файла."},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nПапка не найдена.\nПроверьте имя папки."},
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Save", "Сохранить"},
    {"QPlatformTheme", "Save All", "Сохранить все"},
    {"QPlatformTheme", "Open", "Открыть"},
    {"QPlatformTheme", "&Yes", "&Да"},
    {"QPlatformTheme", "Yes to &All", "Да для &всех"},
    {"QPlatformTheme", "&No", "&Нет"},
    {"QPlatformTheme", "N&o to All", "Н&ет для всех"},
    {"QPlatformTheme", "Abort", "Прервать"},
    {"QPlatformTheme", "Retry", "Повторить"},
    {"QPlatformTheme", "Ignore", "Пропустить"},
    {"QPlatformTheme", "Close", "Закрыть"},
    {"QPlatformTheme", "Cancel", "Отмена"},
    {"QPlatformTheme", "Discard", "Не сохранять"},
    {"QPlatformTheme", "Help", "Справка"},
    {"QPlatformTheme", "Apply", "Применить"},
    {"QPlatformTheme", "Reset", "Сбросить"},
    {"QPlatformTheme", "Restore Defaults", "Восстановить"},
    {"QMessageBox", "Show Details...", "Подробнее..."},
    {"QMessageBox", "Hide Details...", "Скрыть подробности..."},
    {"QLineEdit", "&Undo", "&Отменить"},
    {"QLineEdit", "&Redo", "&Повторить"},
    {"QLineEdit", "Cu&t", "&Вырезать"},
    {"QLineEdit", "&Copy", "&Копировать"},
    {"QLineEdit", "&Paste", "В&ставить"},
    {"QLineEdit", "Delete", "Удалить"},
    {"QLineEdit", "Select All", "Выделить всё"},
    {"QWidgetTextControl", "&Undo", "&Отменить"},
    {"QWidgetTextControl", "&Redo", "&Повторить"},
    {"QWidgetTextControl", "Cu&t", "&Вырезать"},
    {"QWidgetTextControl", "&Copy", "&Копировать"},
    {"QWidgetTextControl", "&Paste", "В&ставить"},
    {"QWidgetTextControl", "Delete", "Удалить"},
    {"QWidgetTextControl", "Select All", "Выделить всё"},
    {"QWidgetTextControl", "Copy &Link Location", "Копировать &адрес ссылки"},
};

class ProgramTranslator : public QTranslator {
public:
    explicit ProgramTranslator(QObject* parent)
        : QTranslator(parent)
    {
        for (const Text& t : kTexts)
            texts_.insert(key(t.context, t.source), QString::fromUtf8(t.russian));
    }

    QString translate(const char* context, const char* sourceText, const char*, int n) const override
    {
        if (!context || !sourceText)
            return {};
        QString text = texts_.value(key(context, sourceText));
        if (n >= 0 && text.contains(QLatin1String("%n")))
            text.replace(QLatin1String("%n"), QString::number(n));
        return text;
    }

    bool isEmpty() const override { return false; }

private:
    static QByteArray key(const char* context, const char* source)
    {
        return QByteArray(context) + '\x04' + source;
    }

    QHash<QByteArray, QString> texts_;
};

// The file list's sizes and dates in Russian, whatever the system locale is.
class RussianFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole && index.column() >= 1 && index.column() <= 3) {
            if (auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QModelIndex source = mapToSource(index);
                const QLocale russian(QLocale::Russian, QLocale::Russia);
                if (index.column() == 3)
                    return russian.toString(files->lastModified(source), QLocale::ShortFormat);
                // The type in words of the program, not the system's (English) file type names.
                if (index.column() == 2) {
                    if (files->isDir(source))
                        return QStringLiteral("Папка");
                    const QString suffix = files->fileInfo(source).suffix();
                    return suffix.isEmpty() ? QStringLiteral("Файл") : QStringLiteral("Файл %1").arg(suffix.toUpper());
                }
                if (files->isDir(source))
                    return QString();
                return RussianDataSize(files->size(source));
            }
        }
        return QIdentityProxyModel::data(index, role);
    }

    static QString RussianDataSize(qint64 bytes)
    {
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        if (bytes < 1024)
            return QStringLiteral("%1 байт").arg(bytes);
        static const char* const units[] = {"КБ", "МБ", "ГБ", "ТБ"};
        double value = double(bytes) / 1024;
        int unit = 0;
        while (value >= 1024 && unit < 3) {
            value /= 1024;
            ++unit;
        }
        return russian.toString(value, 'f', value < 10 ? 1 : 0) + u' ' + QString::fromUtf8(units[unit]);
    }
};

} // namespace

void InstallRussianTranslations(QCoreApplication& app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_ru", "qt_ru"}) {
        auto* t = new QTranslator(&app);
        if (t->load(QString::fromLatin1(name), folder))
            app.installTranslator(t);
        else
            delete t;
    }
    // Installed last, so it is asked first; it answers only its own texts.
    app.installTranslator(new ProgramTranslator(&app));
}

void UseRussianFileList(QFileDialog* dialog)
{
    dialog->setProxyModel(new RussianFileList(dialog));
}

} // namespace platform
