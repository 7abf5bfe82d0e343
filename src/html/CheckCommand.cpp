#include "html/CheckCommand.h"

#include "app/plain/DocumentBytes.h"
#include "html/plain/CheckCommand.h"

QString DocumentTextFromBytes(const QByteArray& bytes)
{
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    QString text(qsizetype(DocumentTextCapacity(view)), Qt::Uninitialized);
    text.truncate(qsizetype(DocumentTextInto(view, reinterpret_cast<char16_t*>(text.data()))));
    return text;
}

QString CheckReport(const QString& fileName, const QString& text)
{
    const QByteArray name = fileName.toUtf8();
    return QString::fromStdString(
        CheckReport(std::string_view(name.constData(), std::size_t(name.size())), std::u16string_view(QStringView(text).utf16(), std::size_t(text.size()))));
}
