#pragma once

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Each test works in a fresh folder of its own with its own database path.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Folder with a trailing separator.
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString dbPath() const { return folder() + QStringLiteral("zeltora.db"); }
    QString path(const QString& name) const { return folder() + name; }

private:
    QTemporaryDir m_dir;
};
