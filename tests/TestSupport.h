#pragma once
// Shared test fixtures. Every test process points HOME, the XDG folders,
// VELTMARK_HOME and VELTMARK_SYSROOT at its own temporary folders, so no
// test ever touches the real home folder.
#include "platform/Prompts.h"
#include "platform/Shell.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// Called once from the test mains, before any Qt application object exists.
void IsolateEnvironment();

// Reads a whole file, or an empty array when it cannot be opened.
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// A fresh program folder and system root for each test, with scripted
// prompts and a recording shell installed.
class IsolatedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFolder() const { return home_ + QStringLiteral("/"); }
    QString sysRoot() const { return sys_ + QStringLiteral("/"); }

    platform::ScriptedPrompts prompts_;
    platform::RecordingShell shell_;

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString home_;
    QString sys_;
};

} // namespace testing_support
