// Standard input read to its end for an import: kept whole, bounded, and stopped at once on
// bytes that are no CSV text.
#include "cli/standard_input.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <thread>

namespace sorvenka {
namespace {

struct Spooled {
    bool ok;
    QByteArray bytes;
    QString message;
};

// Sends the bytes through a pipe from another thread, as a script's pipe would.
Spooled Spool(const QByteArray& input, qint64 limit) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    std::thread writer([&] {
        qsizetype done = 0;
        while (done < input.size()) {
            const ssize_t n = ::write(fds[1], input.constData() + done, input.size() - done);
            if (n <= 0) break;  // the reader stopped early and closed its end
            done += n;
        }
        ::close(fds[1]);
    });
    QTemporaryFile spool;
    Spooled result;
    result.ok = SpoolToTemporaryFile(fds[0], spool, limit, result.message);
    ::close(fds[0]);
    writer.join();
    if (result.ok) {
        QFile file(spool.fileName());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        result.bytes = file.readAll();
    }
    return result;
}

TEST(StandardInput, KeptWholeUpToTheLimit) {
    // A reader that stops early closes the pipe: the writer gets EPIPE rather than a signal.
    std::signal(SIGPIPE, SIG_IGN);
    const QByteArray csv = "Date,Exercise Name,Reps\r\n2024-05-01,ベンチ,10\r\n";
    QByteArray large;
    for (int i = 0; i < 20000; ++i) large += csv;  // over a few pipe buffers
    struct Case {
        const char* name;
        QByteArray input;
        qint64 limit;
        bool ok;
        const char* reason;
    };
    const Case cases[] = {
        {"a small file", csv, 1 << 20, true, ""},
        {"nothing", QByteArray(), 1 << 20, true, ""},
        {"larger than the pipe", large, qint64{1} << 30, true, ""},
        {"exactly the limit", csv, csv.size(), true, ""},
        {"over the limit", large, 100000, false, "100000 バイトを超えました"},
        {"UTF-16", "\xFF\xFE" + QByteArray("D\0a\0t\0e\0", 8), 1 << 20, false, "UTF-16"},
        {"NUL bytes alone (/dev/zero)", QByteArray(200000, '\0'), qint64{1} << 30, false, "NUL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Spooled result = Spool(c.input, c.limit);
        EXPECT_EQ(result.ok, c.ok) << result.message.toStdString();
        if (c.ok) {
            EXPECT_EQ(result.bytes, c.input);
        } else {
            EXPECT_TRUE(result.message.contains(QString::fromUtf8(c.reason)))
                << result.message.toStdString();
            EXPECT_TRUE(result.message.contains(QStringLiteral("標準入力")));
        }
    }
}

}  // namespace
}  // namespace sorvenka
