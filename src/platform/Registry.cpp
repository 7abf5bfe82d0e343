#include "platform/Registry.h"

#include "platform/Folders.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace platform {
namespace {

QString rootName(RegRoot root)
{
    return root == RegRoot::ClassesRoot ? QStringLiteral("HKEY_CLASSES_ROOT")
                                        : QStringLiteral("HKEY_LOCAL_MACHINE");
}

// The file holds { root: { "key\\path": { "": default, "name": value } } }.
QJsonObject load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
    return doc.isObject() ? doc.object() : QJsonObject();
}

bool save(const QString& path, const QJsonObject& all)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(QJsonDocument(all).toJson(QJsonDocument::Indented));
    return f.commit();
}

// Finds the stored spelling of a key or value name, ignoring letter case;
// empty when there is none.
QString findIgnoringCase(const QJsonObject& object, const QString& name)
{
    if (object.contains(name))
        return name;
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.key();
    return {};
}

QString findKey(const QJsonObject& keys, const QString& key) { return findIgnoringCase(keys, key); }
QString findName(const QJsonObject& values, const QString& name) { return findIgnoringCase(values, name); }

bool isBelow(const QString& stored, const QString& key)
{
    return stored.size() > key.size() && stored.at(key.size()) == u'\\'
        && stored.left(key.size()).compare(key, Qt::CaseInsensitive) == 0;
}

// Adds the key and every parent of it that is missing.
void ensureKey(QJsonObject& keys, const QString& key)
{
    const QStringList parts = key.split(u'\\');
    QString path;
    for (const QString& part : parts) {
        path = path.isEmpty() ? part : path + u'\\' + part;
        if (findKey(keys, path).isEmpty())
            keys.insert(path, QJsonObject());
    }
}

} // namespace

QString NormalizeKeyPath(const QString& key)
{
    QString k = key;
    k.replace(u'/', u'\\');
    return k.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

Registry::Registry(QString filePath)
    : path_(filePath.isEmpty() ? SysRootPath() + QStringLiteral("registry.json") : std::move(filePath))
{
}

bool Registry::createKey(RegRoot root, const QString& key)
{
    const QString k = NormalizeKeyPath(key);
    if (k.isEmpty())
        return false;
    QJsonObject all = load(path_);
    QJsonObject keys = all.value(rootName(root)).toObject();
    if (!findKey(keys, k).isEmpty())
        return true;
    ensureKey(keys, k);
    all.insert(rootName(root), keys);
    return save(path_, all);
}

bool Registry::writeString(RegRoot root, const QString& key, const QString& name, const QString& value)
{
    const QString k = NormalizeKeyPath(key);
    if (k.isEmpty())
        return false;
    QJsonObject all = load(path_);
    QJsonObject keys = all.value(rootName(root)).toObject();
    ensureKey(keys, k);
    const QString stored = findKey(keys, k);
    QJsonObject values = keys.value(stored).toObject();
    const QString n = findName(values, name);
    values.insert(n.isEmpty() ? name : n, value);
    keys.insert(stored, values);
    all.insert(rootName(root), keys);
    return save(path_, all);
}

std::optional<QString> Registry::readString(RegRoot root, const QString& key, const QString& name) const
{
    const QJsonObject keys = load(path_).value(rootName(root)).toObject();
    const QString stored = findKey(keys, NormalizeKeyPath(key));
    if (stored.isEmpty())
        return std::nullopt;
    const QJsonObject values = keys.value(stored).toObject();
    const QString n = findName(values, name);
    if (n.isEmpty() && !values.contains(name))
        return std::nullopt;
    const QJsonValue v = values.value(n.isEmpty() ? name : n);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

bool Registry::keyExists(RegRoot root, const QString& key) const
{
    const QJsonObject keys = load(path_).value(rootName(root)).toObject();
    return !findKey(keys, NormalizeKeyPath(key)).isEmpty();
}

bool Registry::deleteKey(RegRoot root, const QString& key)
{
    const QString k = NormalizeKeyPath(key);
    if (k.isEmpty())
        return false;
    QJsonObject all = load(path_);
    QJsonObject keys = all.value(rootName(root)).toObject();
    QStringList doomed;
    for (auto it = keys.begin(); it != keys.end(); ++it)
        if (it.key().compare(k, Qt::CaseInsensitive) == 0 || isBelow(it.key(), k))
            doomed << it.key();
    if (doomed.isEmpty())
        return false;
    for (const QString& d : doomed)
        keys.remove(d);
    all.insert(rootName(root), keys);
    return save(path_, all);
}

QStringList Registry::subKeys(RegRoot root, const QString& key) const
{
    const QString k = NormalizeKeyPath(key);
    const QJsonObject keys = load(path_).value(rootName(root)).toObject();
    QStringList out;
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (!isBelow(it.key(), k))
            continue;
        const QString rest = it.key().mid(k.size() + 1);
        if (!rest.contains(u'\\'))
            out << rest;
    }
    return out;
}

} // namespace platform
