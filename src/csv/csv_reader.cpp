#include "csv/csv_reader.h"

#include <csv.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/system_error_text.h"

namespace sorvenka {

namespace {

QString CannotOpen(const QString& path, const QString& reason) {
    return QStringLiteral("ファイルを開けませんでした。\r\n") + path + QStringLiteral("\r\n") +
           reason;
}

// Opens a regular file for reading. A FIFO, a device or a folder is refused: it is opened
// without waiting for a writer, and nothing is read from it (a FIFO could wait for ever,
// /dev/zero never ends).
bool OpenRegularFile(const QString& path, QFile& file, QString& message) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        message = CannotOpen(path, SystemErrorText(errno));
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        message =
            CannotOpen(path, folder ? SystemErrorText(EISDIR)
                             : info.st_mode != 0
                                 ? QStringLiteral("通常のファイルではありません（FIFO、デバイス、"
                                                  "ソケットなど）。標準入力から読むときは"
                                                  "ファイル名に - を指定してください。")
                                 : SystemErrorText(error));
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        message = CannotOpen(path, file.errorString());
        return false;
    }
    return true;
}

constexpr qint64 kChunkBytes = 64 * 1024;
// The parser's buffer may grow a little past the field limit, so that a field just over it
// is still read whole and refused alone; beyond this the parser stops and the file with it.
constexpr size_t kParserBufferCap = 2 * kMaxCsvFieldBytes;

void* CappedRealloc(void* block, size_t size) {
    if (size > kParserBufferCap) return nullptr;
    return std::realloc(block, size);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Fed in chunks; the
// state carries a character cut at a chunk's end. Counts the faults and reads on after each.
class Utf8Check {
  public:
    void feed(const unsigned char* data, qint64 size) {
        qint64 i = 0;
        while (i < size) {
            if (need_ > 0) {
                step(data[i++]);
                continue;
            }
            // Runs of ASCII, the bulk of a file, eight bytes at a time.
            while (i + 8 <= size) {
                std::uint64_t word;
                std::memcpy(&word, data + i, sizeof word);
                if (const std::uint64_t high = word & 0x8080808080808080ULL; high != 0) {
                    // Straight to the first byte that is no ASCII.
                    if constexpr (std::endian::native == std::endian::little)
                        i += std::countr_zero(high) / 8;
                    break;
                }
                i += 8;
            }
            if (i >= size) break;
            const unsigned char c = data[i];
            if (c < 0x80) {
                ++i;
                continue;
            }
            // A whole character in the bytes at hand is checked at once, and the characters
            // right after it too (Japanese texts run on); a fault, or a character cut at the
            // end, goes byte by byte, which counts the faults.
            qint64 length = wholeCharacter(data + i, size - i);
            if (length == 0) {
                step(data[i++]);
                continue;
            }
            do {
                i += length;
            } while (i < size && data[i] >= 0x80 &&
                     (length = wholeCharacter(data + i, size - i)) > 0);
        }
    }
    // The faults, a character cut off at the end included.
    qint64 errors() const { return errors_ + (need_ > 0 ? 1 : 0); }

  private:
    // The length of the valid character of two to four bytes that starts the bytes; 0 when
    // there is none.
    static qint64 wholeCharacter(const unsigned char* p, qint64 left) {
        const unsigned char c = p[0];
        auto within = [](unsigned char b, unsigned char low, unsigned char high) {
            return b >= low && b <= high;
        };
        if (c >= 0xC2 && c <= 0xDF) return left >= 2 && within(p[1], 0x80, 0xBF) ? 2 : 0;
        if (c >= 0xE0 && c <= 0xEF) {
            if (left < 3) return 0;
            const unsigned char low = c == 0xE0 ? 0xA0 : 0x80, high = c == 0xED ? 0x9F : 0xBF;
            return within(p[1], low, high) && within(p[2], 0x80, 0xBF) ? 3 : 0;
        }
        if (c >= 0xF0 && c <= 0xF4) {
            if (left < 4) return 0;
            const unsigned char low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
            return within(p[1], low, high) && within(p[2], 0x80, 0xBF) && within(p[3], 0x80, 0xBF)
                       ? 4
                       : 0;
        }
        return 0;
    }

    // One byte through the checker's state: a character's lead or its next byte.
    void step(unsigned char c) {
        if (need_ > 0 && (c < low_ || c > high_)) {
            ++errors_;
            need_ = 0;
        }
        if (need_ == 0) {
            if (c < 0x80) return;
            if (c >= 0xC2 && c <= 0xDF) {
                need_ = 1, low_ = 0x80, high_ = 0xBF;
            } else if (c >= 0xE0 && c <= 0xEF) {
                need_ = 2;
                low_ = c == 0xE0 ? 0xA0 : 0x80;
                high_ = c == 0xED ? 0x9F : 0xBF;
            } else if (c >= 0xF0 && c <= 0xF4) {
                need_ = 3;
                low_ = c == 0xF0 ? 0x90 : 0x80;
                high_ = c == 0xF4 ? 0x8F : 0xBF;
            } else {
                ++errors_;
            }
            return;
        }
        low_ = 0x80, high_ = 0xBF;
        --need_;
    }

    qint64 errors_ = 0;
    int need_ = 0;
    unsigned char low_ = 0x80, high_ = 0xBF;
};

// CP932 to UTF-8 through iconv, one field at a time.
class Cp932Decoder {
  public:
    Cp932Decoder() : cd_(iconv_open("UTF-8", "CP932")) {}
    ~Cp932Decoder() {
        if (valid()) iconv_close(cd_);
    }
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    bool decode(const char* data, size_t size, QByteArray& text) {
        if (!valid()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        // A CP932 character of one or two bytes gives at most three bytes of UTF-8.
        buffer_.resize(static_cast<qsizetype>(size * 3 + 4));
        char* in = const_cast<char*>(data);
        size_t inLeft = size;
        char* out = buffer_.data();
        size_t outLeft = static_cast<size_t>(buffer_.size());
        if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) return false;
        if (iconv(cd_, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) return false;
        text = QByteArray(buffer_.constData(), out - buffer_.constData());
        return true;
    }

    // The bytes that are no CP932, over a file fed in chunks; a character cut at a chunk's
    // end is carried over to the next one.
    void count(const QByteArray& chunk, qint64& errors, bool last) {
        if (!valid()) {
            ++errors;
            return;
        }
        carry_ += chunk;
        char* in = carry_.data();
        size_t inLeft = static_cast<size_t>(carry_.size());
        char sink[4096];
        while (inLeft > 0) {
            char* out = sink;
            size_t outLeft = sizeof sink;
            if (iconv(cd_, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) continue;
            if (errno == EINVAL && !last) break;
            ++errors;
            ++in, --inLeft;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        carry_ = QByteArray(in, static_cast<qsizetype>(inLeft));
    }

  private:
    iconv_t cd_;
    QByteArray buffer_;
    QByteArray carry_;
};

struct ParserGuard {
    csv_parser parser;
    bool initialised = false;
    ~ParserGuard() {
        if (initialised) csv_free(&parser);
    }
};

// The state shared with libcsv's callbacks.
struct ReadState {
    CsvEncoding encoding;
    bool checkUtf8 = false;  // the file has faults: each field is checked
    Cp932Decoder* cp932 = nullptr;
    const std::function<bool(CsvRow&)>* onRow = nullptr;
    CsvRow row;
    qint64 currentLine = 1;
    bool rowStartPending = true;  // the next byte that is not a line end starts a row
    bool stopped = false;

    bool lendFields = false;  // rows split by the reader hand on views into its buffer
    bool rowLent = false;     // the row's fields are such views

    // Buffers of fields of rows gone by, filled again rather than allocated anew for every
    // field. A buffer still shared by whoever took the row is copied when written (as Qt does).
    std::vector<QByteArray> spare;

    void refuse(const QString& reason) {
        if (row.refusal.isEmpty()) row.refusal = reason;
    }
    QByteArray field(const char* bytes, size_t size) {
        if (spare.empty()) return QByteArray(bytes, static_cast<qsizetype>(size));
        QByteArray buffer = std::move(spare.back());
        spare.pop_back();
        buffer.resize(static_cast<qsizetype>(size));
        if (size > 0) std::memcpy(buffer.data(), bytes, size);
        return buffer;
    }
    void keepBuffers() {
        if (rowLent) {
            rowLent = false;
            row.fields.clear();  // views own no buffer
            return;
        }
        // Small buffers only, and a row's worth of them: a long comment's buffer is not held.
        constexpr qsizetype kLargestKept = 4096;
        constexpr size_t kMostKept = 64;
        // A lent field owns no buffer.
        for (CsvField& field : row.fields)
            if (field && field->capacity() > 0 && field->capacity() <= kLargestKept &&
                spare.size() < kMostKept)
                spare.push_back(std::move(*field));
        row.fields.clear();
    }
};

void OnField(void* data, size_t size, void* context) {
    auto& state = *static_cast<ReadState*>(context);
    if (state.stopped) return;
    if (state.rowStartPending) {
        // A row that starts after a lone CR on the same line.
        state.row.line = state.currentLine;
        state.rowStartPending = false;
    }
    if (data == nullptr) {
        state.row.fields.emplace_back(std::nullopt);
        return;
    }
    const char* bytes = static_cast<const char*>(data);
    if (static_cast<qsizetype>(size) > kMaxCsvFieldBytes) {
        state.refuse(QStringLiteral("1 MBを超える欄があります"));
        state.row.fields.emplace_back(QByteArray());
        return;
    }
    if (std::memchr(bytes, '\0', size) != nullptr) {
        state.refuse(QStringLiteral("NUL文字が含まれています"));
        state.row.fields.emplace_back(QByteArray());
        return;
    }
    if (state.encoding == CsvEncoding::Utf8) {
        if (state.checkUtf8) {
            Utf8Check check;
            check.feed(reinterpret_cast<const unsigned char*>(bytes), static_cast<qint64>(size));
            if (check.errors() > 0) {
                state.refuse(QStringLiteral("UTF-8でもCP932でもない文字があります"));
                state.row.fields.emplace_back(QByteArray());
                return;
            }
        }
        state.row.fields.emplace_back(state.field(bytes, size));
        return;
    }
    QByteArray text;
    if (!state.cp932->decode(bytes, size, text)) {
        state.refuse(QStringLiteral("UTF-8でもCP932でもない文字があります"));
        state.row.fields.emplace_back(QByteArray());
        return;
    }
    state.row.fields.emplace_back(std::move(text));
}

void OnRowEnd(int, void* context) {
    auto& state = *static_cast<ReadState*>(context);
    if (state.stopped) return;
    // A line of blanks alone is no row.
    const bool blank =
        state.row.fields.size() == 1 && !state.row.fields[0] && state.row.refusal.isEmpty();
    if (!blank && !(*state.onRow)(state.row)) state.stopped = true;
    state.keepBuffers();
    state.row.refusal.clear();
    state.rowStartPending = true;
}

// libcsv's state between two rows (ROW_NOT_BEGUN in its source).
constexpr int kLibcsvBetweenRows = 0;

// What a byte means to the splitting of a row; the kinds that end no field come first.
enum class ByteKind : unsigned char { Ordinary, Blank, Delimiter, Quote, LineEnd };
using ByteKinds = std::array<ByteKind, 256>;

ByteKinds KindsFor(char delimiter) {
    ByteKinds kinds;
    kinds.fill(ByteKind::Ordinary);
    kinds[' '] = ByteKind::Blank;
    kinds['\t'] = ByteKind::Blank;
    kinds[static_cast<unsigned char>(delimiter)] = ByteKind::Delimiter;
    kinds['"'] = ByteKind::Quote;
    kinds['\r'] = ByteKind::LineEnd;
    kinds['\n'] = ByteKind::LineEnd;
    return kinds;
}

// The line ends in data[from, to): LF, CR LF and lone CR, where the byte at to is no LF.
qint64 LineEndsBetween(const char* data, qint64 from, qint64 to) {
    qint64 count = 0;
    const char* end = data + to;
    for (const char* p = data + from; p < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (p == nullptr) break;
        ++count;
    }
    for (const char* p = data + from; p < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\r', end - p));
        if (p == nullptr) break;
        if (p + 1 == end || p[1] != '\n') ++count;
    }
    return count;
}

// One field of a row split by the reader: where its bytes stand, and whether doubled quotes
// inside it still have to be made single.
struct FieldSpan {
    qint64 start = 0, size = 0;
    bool present = false;  // false: an empty field without quotes, read as absent
    bool doubledQuotes = false;
};

// A row as libcsv splits it in its strict mode, when the row lies whole in the bytes given and
// holds nothing libcsv would refuse: at the delimiter, blanks around each field dropped, an empty
// field absent; a quoted field may hold delimiters, line ends and doubled quotes, and only blanks
// may stand between its closing quote and the field's end. The row must start at the start of a
// line that is not blank and end at a line end (a LF, CR LF or lone CR) within the bytes. Fills
// spans and returns the bytes the row takes with its line end, and the lines it ends; 0 (nothing
// done) for any other row, which goes to libcsv line by line. Most rows of a file are such rows,
// and splitting them here spares libcsv's call per character.
qint64 SplitRow(const char* data, qint64 size, const ByteKinds& kinds,
                QVarLengthArray<FieldSpan, 32>& spans, qint64& lineEnds) {
    spans.clear();
    lineEnds = 0;
    qint64 i = 0;
    auto kind = [&](qint64 at) { return kinds[static_cast<unsigned char>(data[at])]; };
    // The line end of a row: CR LF counts as one. A CR at the end of the bytes is taken alone;
    // the reader knows to join a LF that starts the next bytes to it.
    auto rowEnd = [&](qint64 at) {
        ++lineEnds;
        return data[at] == '\r' && at + 1 < size && data[at + 1] == '\n' ? at + 2 : at + 1;
    };
    for (;;) {
        while (i < size && kind(i) == ByteKind::Blank) ++i;
        if (i >= size) return 0;
        FieldSpan span;
        if (kind(i) == ByteKind::Quote) {
            span.present = true;
            span.start = ++i;
            // To the closing quote; a doubled quote is one quote of the text.
            for (;;) {
                const char* quote = static_cast<const char*>(std::memchr(data + i, '"', size - i));
                if (quote == nullptr) return 0;
                const qint64 at = quote - data;
                lineEnds += LineEndsBetween(data, i, at);
                if (at + 1 < size && data[at + 1] == '"') {
                    span.doubledQuotes = true;
                    i = at + 2;
                    continue;
                }
                span.size = at - span.start;
                i = at + 1;
                break;
            }
            while (i < size && kind(i) == ByteKind::Blank) ++i;
            if (i >= size) return 0;
            const ByteKind after = kind(i);
            spans.append(span);
            if (after == ByteKind::Delimiter) {
                ++i;
                continue;
            }
            if (after == ByteKind::LineEnd) return rowEnd(i);
            return 0;  // anything else after a closing quote: libcsv names the fault
        }
        // A field without quotes, to the delimiter or the line end.
        span.start = i;
        while (i < size && kind(i) <= ByteKind::Blank) ++i;
        if (i >= size) return 0;
        if (kind(i) == ByteKind::Quote) return 0;  // inside a field without quotes: a fault
        qint64 last = i;                           // past the last byte that is no blank
        while (last > span.start && kind(last - 1) == ByteKind::Blank) --last;
        span.size = last - span.start;
        span.present = span.size > 0;
        // A line of blanks alone is left to libcsv.
        if (spans.empty() && !span.present && kind(i) == ByteKind::LineEnd) return 0;
        spans.append(span);
        if (kind(i) == ByteKind::LineEnd) return rowEnd(i);
        ++i;
    }
}

// A quoted field's doubled quotes made single where the field stands: the text only shrinks,
// and the row's bytes are not read again once split. The new size.
size_t UnquoteInPlace(char* bytes, size_t size) {
    char* out = bytes;
    const char* end = bytes + size;
    // Each run up to a quote and the quote, the second of the pair skipped.
    for (const char* p = bytes; p < end;) {
        const char* quote = static_cast<const char*>(std::memchr(p, '"', end - p));
        const char* runEnd = quote == nullptr ? end : quote + 1;
        std::memmove(out, p, static_cast<size_t>(runEnd - p));
        out += runEnd - p;
        p = runEnd + (quote == nullptr ? 0 : 1);
    }
    return static_cast<size_t>(out - bytes);
}

// The fields of a row split by SplitRow, handed on as libcsv hands them; lent where they
// stand when the caller asked so and no field needs a check or a conversion of its own.
void EmitRow(char* data, qint64 rowBytes, const QVarLengthArray<FieldSpan, 32>& spans,
             ReadState& state) {
    const bool lend = state.lendFields && state.encoding == CsvEncoding::Utf8 && !state.checkUtf8 &&
                      std::memchr(data, '\0', static_cast<size_t>(rowBytes)) == nullptr;
    state.rowLent = lend;
    for (const FieldSpan& span : spans) {
        if (!span.present) {
            OnField(nullptr, 0, &state);
            continue;
        }
        char* bytes = data + span.start;
        size_t size = static_cast<size_t>(span.size);
        if (span.doubledQuotes) size = UnquoteInPlace(bytes, size);
        if (lend)
            state.row.fields.emplace_back(
                QByteArray::fromRawData(bytes, static_cast<qsizetype>(size)));
        else
            OnField(bytes, size, &state);
    }
    OnRowEnd('\n', &state);
}

// Blanks and line ends alone start no row: libcsv passes over them between rows.
bool IsBlankLine(const char* data, qint64 size) {
    for (qint64 i = 0; i < size; ++i)
        if (data[i] != '\r' && data[i] != '\n' && data[i] != ' ' && data[i] != '\t') return false;
    return true;
}

QString ParseErrorText(int error) {
    if (error == CSV_ENOMEM || error == CSV_ETOOBIG)
        return QStringLiteral("1 MBを超える欄があります");
    return QStringLiteral("引用符（\"）の対応が正しくありません");
}

}  // namespace

bool LooksLikeUtf16(const QByteArray& head) {
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) return true;
    // ASCII characters (digits, commas, line ends) in UTF-16 leave a NUL in every other byte.
    qsizetype nul[2] = {0, 0};
    const qsizetype pairs = head.size() / 2;
    for (qsizetype i = 0; i < pairs * 2; ++i)
        if (head[i] == '\0') ++nul[i % 2];
    if (pairs < 2) return false;
    for (int high = 0; high < 2; ++high)
        if (nul[high] * 4 >= pairs && nul[1 - high] * 20 <= pairs) return true;
    return false;
}

bool CsvReader::open(const QString& path, QString& message) {
    path_ = path;
    QFile file;
    if (!OpenRegularFile(path, file, message)) return false;
    // Both readings are tried over the whole file: a file that is not UTF-8 throughout was
    // saved by a spreadsheet program on a Japanese desktop, in CP932. A file that is neither
    // is read in the one with fewer faults, and the rows at fault are refused.
    Utf8Check utf8;
    QByteArray chunk;
    QByteArray firstLine;
    bool firstLineDone = false;
    bool headChecked = false;
    for (;;) {
        chunk = file.read(kChunkBytes);
        if (chunk.isEmpty()) break;
        if (!headChecked && LooksLikeUtf16(chunk.left(4096))) {
            message = CannotOpen(path, QStringLiteral("UTF-16で保存されたファイルです。"
                                                      "UTF-8（またはCP932）で保存し直してから"
                                                      "読み込んでください。"));
            return false;
        }
        headChecked = true;
        if (!firstLineDone) {
            const qsizetype end = chunk.indexOf('\n');
            firstLine += end < 0 ? chunk : chunk.left(end);
            firstLineDone = end >= 0 || firstLine.size() >= kChunkBytes;
        }
        utf8.feed(reinterpret_cast<const unsigned char*>(chunk.constData()), chunk.size());
    }
    // Only a file that is not UTF-8 throughout is read a second time, as CP932.
    qint64 cp932Errors = 0;
    if (utf8.errors() > 0 && file.error() == QFileDevice::NoError && file.seek(0)) {
        Cp932Decoder cp932;
        for (;;) {
            chunk = file.read(kChunkBytes);
            const bool last = chunk.isEmpty();
            cp932.count(chunk, cp932Errors, last);
            if (last) break;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        message = QStringLiteral("ファイルを読めませんでした。\r\n") + path +
                  QStringLiteral("\r\n") + file.errorString();
        return false;
    }
    const bool cp932Wins = utf8.errors() > 0 && cp932Errors < utf8.errors();
    encoding_ = cp932Wins ? CsvEncoding::Cp932 : CsvEncoding::Utf8;
    utf8Faults_ = !cp932Wins && utf8.errors() > 0;
    // The header decides the delimiter; quoted names hold neither character.
    delimiter_ = firstLine.count(';') > firstLine.count(',') ? ';' : ',';
    return true;
}

bool CsvReader::read(const std::function<bool(CsvRow&)>& onRow, QString& message,
                     qint64& errorLine) {
    errorLine = 0;
    QFile file;
    if (!OpenRegularFile(path_, file, message)) return false;
    Cp932Decoder cp932;
    ParserGuard guard;
    if (csv_init(&guard.parser, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL) != 0) {
        message = QStringLiteral("CSVの読み取りを始められませんでした。");
        return false;
    }
    guard.initialised = true;
    csv_set_delim(&guard.parser, static_cast<unsigned char>(delimiter_));
    csv_set_realloc_func(&guard.parser, &CappedRealloc);
    csv_set_blk_size(&guard.parser, 64 * 1024);

    ReadState state;
    state.encoding = encoding_;
    state.checkUtf8 = utf8Faults_;
    state.cp932 = &cp932;
    state.onRow = &onRow;
    state.lendFields = lendFields_;

    auto fail = [&](int error) {
        message = ParseErrorText(error);
        errorLine = state.rowStartPending ? state.currentLine : state.row.line;
        return false;
    };

    const ByteKinds kinds = KindsFor(delimiter_);
    QVarLengthArray<FieldSpan, 32> spans;
    bool atFileStart = true;
    bool crEnded = false;  // the piece before ended at a CR
    // One buffer for every chunk, filled again.
    QByteArray chunk(kChunkBytes, Qt::Uninitialized);
    while (!state.stopped) {
        // Writable: a quoted field is unquoted where it stands.
        char* data = chunk.data();
        qint64 size = file.read(data, kChunkBytes);
        if (size <= 0) break;
        if (atFileStart) {
            // The byte-order mark of a UTF-8 file is no part of the first field.
            if (encoding_ == CsvEncoding::Utf8 && size >= 3 &&
                std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
                data += 3, size -= 3;
            atFileStart = false;
        }
        // One line at a time, so that the callbacks know the line they are on. A line ends at
        // LF, CR LF or a lone CR (files of old Macs end every line so).
        while (size > 0 && !state.stopped) {
            // A whole row at once where the reader can split it itself. Only between rows:
            // after a row that ended at a lone CR too, the next may start on the same line.
            if (plainLines_ && guard.parser.pstate == kLibcsvBetweenRows) {
                qint64 lines = 0;
                const qint64 taken = SplitRow(data, size, kinds, spans, lines);
                if (taken > 0) {
                    state.row.line = state.currentLine;
                    state.rowStartPending = false;
                    EmitRow(data, taken, spans, state);
                    crEnded = data[taken - 1] == '\r';
                    data += taken;
                    size -= taken;
                    state.currentLine += lines;
                    continue;
                }
            }
            const char* newline = static_cast<const char*>(std::memchr(data, '\n', size));
            qint64 pieceSize = newline ? newline - data + 1 : size;
            bool lineEnds = newline != nullptr;
            const char* cr = static_cast<const char*>(std::memchr(data, '\r', pieceSize));
            if (cr != nullptr && cr + 1 != newline) {
                pieceSize = cr - data + 1;
                lineEnds = true;
            }
            // The LF of a CR LF cut at a chunk's end belongs to the line the CR ended.
            const bool lfOfCrLf = crEnded && data[0] == '\n';
            crEnded = lineEnds && data[pieceSize - 1] == '\r';
            if (state.rowStartPending && !IsBlankLine(data, pieceSize)) {
                state.row.line = state.currentLine;
                state.rowStartPending = false;
            }
            const size_t done = csv_parse(&guard.parser, data, static_cast<size_t>(pieceSize),
                                          &OnField, &OnRowEnd, &state);
            if (done != static_cast<size_t>(pieceSize)) return fail(csv_error(&guard.parser));
            data += pieceSize;
            size -= pieceSize;
            if (lineEnds && !lfOfCrLf) ++state.currentLine;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        message = QStringLiteral("ファイルを読めませんでした。\r\n") + path_ +
                  QStringLiteral("\r\n") + file.errorString();
        return false;
    }
    if (state.stopped) return true;
    if (csv_fini(&guard.parser, &OnField, &OnRowEnd, &state) != 0)
        return fail(csv_error(&guard.parser));
    if (csv_error(&guard.parser) == CSV_EPARSE) return fail(CSV_EPARSE);
    return true;
}

}  // namespace sorvenka
