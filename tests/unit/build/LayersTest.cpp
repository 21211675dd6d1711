#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QFile>
#include <QDir>

// The layer check itself must catch an upward include, or it guards nothing.
TEST(Layers, CheckRejectsAnUpwardInclude)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir(root.path()).mkpath("platform");
    QDir(root.path()).mkpath("framework/core");
    QFile bad(root.filePath("platform/Bad.h"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("#pragma once\n#include \"framework/core/Classes.h\"\n");
    bad.close();
    QFile good(root.filePath("framework/core/Good.h"));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("#include \"platform/Windows.h\"\n");
    good.close();

    auto run = [&](const QString &dir) {
        QProcess p;
        p.start(CMAKE_COMMAND_PATH, {"-DROOT=" + dir, "-P", LAYERS_SCRIPT});
        p.waitForFinished();
        return std::make_pair(p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()));
    };
    auto [code, err] = run(root.path());
    EXPECT_NE(code, 0);
    EXPECT_TRUE(err.contains("platform/Bad.h")) << err.toStdString();
    EXPECT_FALSE(err.contains("Good.h")) << err.toStdString();

    bad.remove();
    EXPECT_EQ(run(root.path()).first, 0);
}
