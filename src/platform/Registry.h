#pragma once
// An emulated system registry: two roots of keys, each key holding named
// string values and a default value (the empty name). Key paths and value
// names compare without regard to letter case. The whole registry is one
// human-readable JSON file under the system root, read at every call and
// replaced atomically at every change.
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

enum class RegRoot { ClassesRoot, LocalMachine };

class Registry {
public:
    // The file defaults to SysRootPath() + "registry.json".
    explicit Registry(QString filePath = QString());

    // Creates the key (and its parents) and stores the value; false when the
    // registry file cannot be written.
    bool writeString(RegRoot root, const QString& key, const QString& name, const QString& value);
    // Creates the key without values; true when it exists afterwards.
    bool createKey(RegRoot root, const QString& key);
    std::optional<QString> readString(RegRoot root, const QString& key, const QString& name) const;
    bool keyExists(RegRoot root, const QString& key) const;
    // Deletes the key with all its subkeys; true when something was deleted.
    bool deleteKey(RegRoot root, const QString& key);
    // Names of the direct subkeys, as stored.
    QStringList subKeys(RegRoot root, const QString& key) const;

    const QString& filePath() const { return path_; }

private:
    QString path_;
};

// Normalises a key path: backslashes or slashes as separators, no empty parts.
QString NormalizeKeyPath(const QString& key);

} // namespace platform
