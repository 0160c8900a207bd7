// tarlen-pxread: reads one table of the previous version (a Paradox file)
// and writes its fields and records to standard output.
//
// The program never reads such a file itself: pxlib trusts the file's header
// and can loop, crash or read past its buffers on a damaged one. This helper
// checks the header and the chain of data blocks first, then lets pxlib read
// the records; the program runs it with a time limit and refuses the table on
// any failure.
//
// Output (UTF-8), each value written as <byte count>:<bytes>, or "~" for none:
//   PXREAD 1\n
//   F <number of fields>\n
//   per field: <type letter> <size> <name>\n        (name as a value)
//   R <number of records>\n
//   per record: the values of its fields, one after another, then \n
//   END\n
// Type letters: A text, D date (yyyy-mm-dd), S short, I long, + autoincrement
// (integers in decimal), N number, $ money (shortest round-trip decimal),
// L logical (1/0); other types are written as "?" and their values as "~".
// Exit code 0 only when everything was written; otherwise 2 and a reason on
// standard error.

extern "C" {
#include <paradox.h>
}

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct Failure
{
    std::string reason;
};

[[noreturn]] void fail(const std::string &reason)
{
    throw Failure{reason};
}

quint16 u16(const QByteArray &b, qsizetype at)
{
    return quint16(quint8(b[at]) | (quint8(b[at + 1]) << 8));
}

qint16 s16(const QByteArray &b, qsizetype at)
{
    return qint16(u16(b, at));
}

quint32 u32(const QByteArray &b, qsizetype at)
{
    return quint32(u16(b, at)) | (quint32(u16(b, at + 2)) << 16);
}

// The bytes a field of `type` and declared `size` takes in a record, or -1
// for a type or size that no table has.
int storedSize(int type, int size)
{
    switch (type) {
    case pxfAlpha: return size >= 1 && size <= 255 ? size : -1;
    case pxfDate: case pxfLong: case pxfTime: case pxfAutoInc: return size == 4 ? 4 : -1;
    case pxfShort: return size == 2 ? 2 : -1;
    case pxfCurrency: case pxfNumber: case pxfTimestamp: return size == 8 ? 8 : -1;
    case pxfLogical: return size == 1 ? 1 : -1;
    case pxfBCD: return size <= 32 ? 17 : -1;
    case pxfMemoBLOb: case pxfBLOb: case pxfFmtMemoBLOb: case pxfOLE: case pxfGraphic:
        return size >= 10 && size <= 250 ? size : -1;
    case pxfBytes: return size >= 1 && size <= 255 ? size : -1;
    default: return -1;
    }
}

struct Header
{
    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0;
    int numRecords = 0;
    int numFields = 0;
    int codePage = 0;
    std::vector<std::pair<int, int>> fields; // type, declared size
    std::vector<QByteArray> names;
};

// The field names and what follows them must agree: a changed or lost
// terminator shifts every name after it into the wrong field, and the
// shifted bytes then show here. Each name is non-empty, free of control
// bytes and unique (letter case aside). From file version 5 (Paradox 4) on
// the names are followed by one distinct field number per field and the
// name of the sort order; version 3 (Paradox 3.0) headers end with the last name.
void checkNames(const QByteArray &file, const Header &h, int version, qsizetype end)
{
    std::vector<QByteArray> seen;
    for (const QByteArray &name : h.names) {
        if (name.isEmpty() || std::any_of(name.begin(), name.end(), [](char c) { return quint8(c) < 0x20; }))
            fail("bad field name");
        const QByteArray folded = name.toLower();
        if (std::find(seen.begin(), seen.end(), folded) != seen.end())
            fail("repeated field name");
        seen.push_back(folded);
    }
    if (version == 3) {
        if (end != h.headerSize)
            fail("field names do not end the header");
        return;
    }
    if (version < 5)
        return;
    // Field numbers count from 1; two printable bytes read as one are far beyond any.
    if (end + 2 * qsizetype(h.numFields) >= h.headerSize)
        fail("field numbers outside the header");
    std::vector<int> numbers;
    for (int i = 0; i < h.numFields; ++i) {
        const int n = u16(file, end + 2 * i);
        if (n < 1 || n > 4095 || std::find(numbers.begin(), numbers.end(), n) != numbers.end())
            fail("field numbers do not match the field names");
        numbers.push_back(n);
    }
    const qsizetype order = end + 2 * qsizetype(h.numFields);
    const qsizetype orderEnd = file.indexOf('\0', order);
    if (orderEnd <= order || orderEnd >= h.headerSize || orderEnd - order > 32
        || std::any_of(file.begin() + order, file.begin() + orderEnd, [](char c) { return quint8(c) < 0x20 || quint8(c) > 0x7e; }))
        fail("no sort order after the field names");
}

// Checks everything pxlib relies on before pxlib sees the file: the sizes in
// the header against each other and against the file, the field list and
// the field names, the encryption flag and the whole chain of data blocks
// (no loops, every block inside the file, record counts adding up).
Header checkHeader(const QByteArray &file)
{
    const qsizetype fileSize = file.size();
    if (fileSize < 0x58)
        fail("file too short for a table header");
    Header h;
    h.recordSize = u16(file, 0x00);
    h.headerSize = u16(file, 0x02);
    const int fileType = quint8(file[0x04]);
    const int maxTableSize = quint8(file[0x05]);
    h.numRecords = int(u32(file, 0x06));
    const int fileBlocks = u16(file, 0x0C);
    const int firstBlock = u16(file, 0x0E);
    const int lastBlock = u16(file, 0x10);
    h.numFields = u16(file, 0x21);
    const int version = quint8(file[0x39]);

    if (fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB)
        fail("not a data table");
    if (version < 3 || version > 12)
        fail("unknown file version");
    if (maxTableSize != 1 && maxTableSize != 2 && maxTableSize != 3 && maxTableSize != 4
        && maxTableSize != 8 && maxTableSize != 16 && maxTableSize != 32)
        fail("bad block size");
    h.blockSize = maxTableSize * 1024;
    if (h.numFields < 1 || h.numFields > 255)
        fail("bad number of fields");
    const bool extended = version >= 5;
    const int fieldInfo = extended ? 0x78 : 0x58;
    if (h.headerSize < fieldInfo + 2 * h.numFields || h.headerSize > fileSize)
        fail("bad header size");
    // The key lives in the main header; tables with the extended header mark
    // that place with ff00ff00 and keep the key in the extended header. pxlib
    // decrypts with whichever it finds, so anything but "none" is refused.
    const quint32 encryption1 = u32(file, 0x25);
    const quint32 encryption2 = extended ? u32(file, 0x5C) : 0;
    if ((encryption1 != 0 && !(extended && encryption1 == 0xff00ff00u)) || encryption2 != 0)
        fail("password-protected table");
    h.codePage = extended ? u16(file, 0x6A) : 0;

    int sum = 0;
    for (int i = 0; i < h.numFields; ++i) {
        const int type = quint8(file[fieldInfo + 2 * i]);
        const int size = quint8(file[fieldInfo + 2 * i + 1]);
        const int stored = storedSize(type, size);
        if (stored < 0)
            fail("bad field type or size");
        sum += stored;
        h.fields.emplace_back(type, size);
    }
    if (h.recordSize != sum || h.recordSize < 1 || h.recordSize > h.blockSize - 6)
        fail("record size does not match the fields");

    // The field names follow the field list, two pointer arrays and the table
    // name; all of them must end inside the header.
    qsizetype pos = fieldInfo + 2 * h.numFields + 4 + 4 * h.numFields;
    pos += version >= 12 ? 261 : 79;
    for (int i = 0; i < h.numFields; ++i) {
        const qsizetype end = pos < h.headerSize ? file.indexOf('\0', pos) : -1;
        if (end < 0 || end >= h.headerSize)
            fail("field names outside the header");
        h.names.push_back(file.mid(pos, end - pos));
        pos = end + 1;
    }
    checkNames(file, h, version, pos);

    if (qint64(h.headerSize) + qint64(fileBlocks) * h.blockSize > fileSize)
        fail("file shorter than its blocks");
    const int perBlock = (h.blockSize - 6) / h.recordSize;
    if (h.numRecords < 0 || qint64(h.numRecords) > qint64(fileBlocks) * perBlock)
        fail("more records than the blocks hold");
    // pxlib walks the chain whenever there is a first block, even in an empty table.
    if (firstBlock == 0) {
        if (h.numRecords != 0)
            fail("records without blocks");
        return h;
    }
    if (firstBlock > fileBlocks || lastBlock < 1 || lastBlock > fileBlocks)
        fail("bad first or last block");
    std::vector<bool> seen(fileBlocks + 1, false);
    qint64 counted = 0;
    int prev = 0;
    for (int block = firstBlock; block != 0;) {
        if (block > fileBlocks || seen[block])
            fail("broken chain of blocks");
        seen[block] = true;
        const qsizetype at = h.headerSize + qsizetype(block - 1) * h.blockSize;
        const int next = u16(file, at);
        const int back = u16(file, at + 2);
        const int addDataSize = s16(file, at + 4);
        if (back != prev)
            fail("broken chain of blocks");
        if (addDataSize < -h.recordSize || addDataSize % h.recordSize != 0
            || addDataSize / h.recordSize + 1 > perBlock)
            fail("bad block");
        counted += addDataSize / h.recordSize + 1;
        if (next == 0 && block != lastBlock)
            fail("broken chain of blocks");
        prev = block;
        block = next;
    }
    if (counted != h.numRecords)
        fail("record count does not match the blocks");
    return h;
}

QStringDecoder decoderFor(int codePage)
{
    const QByteArray names[] = {
        "windows-" + QByteArray::number(codePage),
        "cp" + QByteArray::number(codePage),
        "ibm-" + QByteArray::number(codePage),
    };
    if (codePage > 0)
        for (const QByteArray &name : names) {
            QStringDecoder d(name.constData(), QStringDecoder::Flag::Stateless);
            if (d.isValid())
                return d;
        }
    // Tables too old to name their code page were written under DOS.
    QStringDecoder d("cp437", QStringDecoder::Flag::Stateless);
    if (d.isValid())
        return d;
    return QStringDecoder(QStringDecoder::Latin1);
}

std::string value(const QByteArray &bytes)
{
    return std::to_string(bytes.size()) + ':' + bytes.toStdString();
}

char typeLetter(int type)
{
    switch (type) {
    case pxfAlpha: return 'A';
    case pxfDate: return 'D';
    case pxfShort: return 'S';
    case pxfLong: return 'I';
    case pxfAutoInc: return '+';
    case pxfNumber: return 'N';
    case pxfCurrency: return '$';
    case pxfLogical: return 'L';
    default: return '?';
    }
}

int errors = 0;

void onError(pxdoc_t *, int level, const char *, void *)
{
    if (level != PX_Warning)
        ++errors;
}

std::string readTable(const char *path, const Header &h)
{
    pxdoc_t *px = PX_new2(onError, nullptr, nullptr, nullptr);
    if (!px)
        fail("pxlib not available");
    struct Closer {
        pxdoc_t *px;
        bool open = false;
        ~Closer() { if (open) PX_close(px); PX_delete(px); }
    } closer{px};
    if (PX_open_file(px, path) < 0 || errors)
        fail("pxlib cannot open the table");
    closer.open = true;
    if (PX_get_num_fields(px) != h.numFields || PX_get_num_records(px) != h.numRecords
        || PX_get_recordsize(px) != h.recordSize)
        fail("pxlib reads another header");
    pxfield_t *fields = PX_get_fields(px);
    if (!fields)
        fail("no fields");

    QStringDecoder decode = decoderFor(h.codePage);
    std::string out = "PXREAD 1\nF " + std::to_string(h.numFields) + '\n';
    for (int i = 0; i < h.numFields; ++i) {
        const char *name = fields[i].px_fname ? fields[i].px_fname : "";
        if (QByteArray(name) != h.names[i])
            fail("pxlib reads other field names");
        const QString text = decode(QByteArray(name));
        out += typeLetter(h.fields[i].first);
        out += ' ' + std::to_string(h.fields[i].second) + ' ' + value(text.toUtf8()) + '\n';
    }
    out += "R " + std::to_string(h.numRecords) + '\n';

    std::vector<char> record(h.recordSize + 1);
    for (int r = 0; r < h.numRecords; ++r) {
        if (!PX_get_record(px, r, record.data()) || errors)
            fail("cannot read record " + std::to_string(r));
        int offset = 0;
        for (int i = 0; i < h.numFields; ++i) {
            const int type = h.fields[i].first;
            const int size = storedSize(type, h.fields[i].second);
            char *data = record.data() + offset;
            offset += size;
            // A field of any type that was never filled is all zero bytes.
            if (type != pxfAlpha && std::all_of(data, data + size, [](char c) { return c == 0; })) {
                out += '~';
                continue;
            }
            switch (type) {
            case pxfAlpha: {
                // Text is stored up to its first NUL; the code page is converted here.
                const QByteArray raw(data, qstrnlen(data, size));
                out += raw.isEmpty() ? std::string("~") : value(QString(decode(raw)).toUtf8());
                break;
            }
            case pxfDate: {
                long days = 0;
                if (PX_get_data_long(px, data, size, &days) > 0 && days > 0 && days < 3652059) {
                    int y = 0, m = 0, d = 0;
                    PX_SdnToGregorian(days + 1721425, &y, &m, &d);
                    char text[16];
                    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
                    out += value(QByteArray(text));
                } else {
                    out += '~';
                }
                break;
            }
            case pxfShort: {
                short v = 0;
                out += PX_get_data_short(px, data, size, &v) > 0 ? value(QByteArray::number(v)) : std::string("~");
                break;
            }
            case pxfLong: case pxfAutoInc: {
                long v = 0;
                out += PX_get_data_long(px, data, size, &v) > 0 ? value(QByteArray::number(qint64(v))) : std::string("~");
                break;
            }
            case pxfNumber: case pxfCurrency: {
                double v = 0;
                out += PX_get_data_double(px, data, size, &v) > 0
                           ? value(QByteArray::number(v, 'g', QLocale::FloatingPointShortest))
                           : std::string("~");
                break;
            }
            case pxfLogical: {
                char v = 0;
                out += PX_get_data_byte(px, data, size, &v) > 0 ? value(v ? "1" : "0") : std::string("~");
                break;
            }
            default:
                out += '~';
            }
        }
        out += '\n';
    }
    out += "END\n";
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    // pxlib prints some of its complaints on standard output: keep the real
    // standard output for the table and send everything else to standard error.
    const int out = dup(STDOUT_FILENO);
    if (out < 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 2;
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarlen-pxread <table.DB>\n");
        return 2;
    }
    try {
        QFile file(QString::fromLocal8Bit(argv[1]));
        // Only a plain file: a pipe or a device would never end.
        if (!QFileInfo(file).isFile())
            fail("not a file");
        if (!file.open(QIODevice::ReadOnly))
            fail("cannot read the file");
        // A table of the previous version never comes near this size.
        if (file.size() > qint64(256) * 1024 * 1024)
            fail("file too large");
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            fail("cannot read the file");
        file.close();
        const Header header = checkHeader(bytes);
        const std::string text = readTable(argv[1], header);
        const char *p = text.data();
        size_t left = text.size();
        while (left > 0) {
            const ssize_t n = write(out, p, left);
            if (n <= 0)
                return 2;
            p += n;
            left -= size_t(n);
        }
        return 0;
    } catch (const Failure &f) {
        std::fprintf(stderr, "tarlen-pxread: %s: %s\n", argv[1], f.reason.c_str());
        return 2;
    }
}
