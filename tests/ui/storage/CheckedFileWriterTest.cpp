// The one writer: a write that fails (here through a file-size limit, which
// fails like a full disk, after Qt has buffered the bytes) leaves the old
// file as it was and says why; our own stores never write through a link.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/FileSizeLimit.h"
#include "support/IdeFixture.h"
#include "ui/storage/CheckedFileWriter.h"

namespace tarnik::test {
namespace {

class CheckedFileWriter : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(CheckedFileWriter, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    const QString file = path(QStringLiteral("a.tnk"));
    writeFile(file, "print 1\n");
    FileWriteResult result;
    {
        const FileSizeLimit full(0);
        result = writeFileChecked(file, "print 2\n", LinkPolicy::Follow);
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, QStringLiteral("文件超出了允许的大小"));
    EXPECT_EQ(readFile(file), QByteArray("print 1\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.tnk")}) << "no temporary left";
}

TEST_F(CheckedFileWriter, ALinkIsWrittenThroughOnlyWhenAllowed)
{
    const QString target = path(QStringLiteral("target.txt"));
    const QString link = path(QStringLiteral("link.txt"));
    writeFile(target, "old");
    ASSERT_TRUE(QFile::link(target, link));

    const FileWriteResult refused = writeFileChecked(link, "new");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.reason.contains(QStringLiteral("链接"))) << refused.reason;
    EXPECT_EQ(readFile(target), QByteArray("old"));

    ASSERT_TRUE(writeFileChecked(link, "new", LinkPolicy::Follow));
    EXPECT_EQ(readFile(target), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link itself stays";
}

TEST_F(CheckedFileWriter, WritesNewAndReplacesOldFilesButNeverAFolder)
{
    const QString file = path(QStringLiteral("new.json"));
    ASSERT_TRUE(writeFileChecked(file, "1"));
    ASSERT_TRUE(writeFileChecked(file, "22"));
    EXPECT_EQ(readFile(file), QByteArray("22"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_FALSE(writeFileChecked(path(QStringLiteral("folder")), "x"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("folder"))).isDir());
}

}  // namespace
}  // namespace tarnik::test
