// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "TableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <zlib.h>

namespace kestrel::admin {

namespace {

// ---- delimited text

QString decodeText(const QByteArray &bytes, QString &encoding)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = QStringLiteral("UTF-8 with byte-order mark");
        return QString::fromUtf8(bytes.mid(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        encoding = QStringLiteral("UTF-16");
        QStringDecoder decoder(QStringConverter::Utf16);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) {
        encoding = QStringLiteral("UTF-8");
        return text;
    }
    encoding = QStringLiteral("Latin-1");
    return QString::fromLatin1(bytes);
}

// The separator the first line holds most of, quoted text left out; ',' when none.
QChar detectDelimiter(QStringView text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\n')
            break;
        else if (c == u',')
            ++commas;
        else if (c == u';')
            ++semicolons;
        else if (c == u'\t')
            ++tabs;
    }
    if (semicolons > commas && semicolons >= tabs)
        return u';';
    if (tabs > commas && tabs > semicolons)
        return u'\t';
    return u',';
}

bool isBlank(const QStringList &row)
{
    return std::all_of(row.cbegin(), row.cend(),
                       [](const QString &cell) { return cell.trimmed().isEmpty(); });
}

// ---- xlsx

/// The files of a zip archive, read from its central directory; every offset is checked,
/// since the archive comes from outside.
Result<QHash<QString, QByteArray>> unzip(const QByteArray &zip)
{
    const auto bad = [] {
        return failure(QStringLiteral("The workbook is not a valid xlsx file."));
    };
    const auto u16 = [&](qsizetype at) {
        return quint16(quint8(zip.at(at)) | quint8(zip.at(at + 1)) << 8);
    };
    const auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    const qsizetype end = zip.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0 || end + 22 > zip.size())
        return bad();
    const int entries = u16(end + 10);
    qsizetype at = u32(end + 16);
    QHash<QString, QByteArray> files;
    for (int i = 0; i < entries; ++i) {
        if (at + 46 > zip.size() || u32(at) != 0x02014b50)
            return bad();
        const int method = u16(at + 10);
        const quint32 packed = u32(at + 20);
        const quint32 size = u32(at + 24);
        const int nameLength = u16(at + 28);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        const qsizetype local = u32(at + 42);
        if (local + 30 > zip.size())
            return bad();
        const qsizetype data = local + 30 + u16(local + 26) + u16(local + 28);
        if (data + qsizetype(packed) > zip.size() || size > 512u * 1024 * 1024)
            return bad();
        const QByteArray raw = zip.mid(data, packed);
        QByteArray content;
        if (method == 0) {
            content = raw;
        } else if (method == 8) {
            content.resize(size);
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                return bad();
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
            stream.avail_in = uInt(raw.size());
            stream.next_out = reinterpret_cast<Bytef *>(content.data());
            stream.avail_out = uInt(size);
            const int rc = inflate(&stream, Z_FINISH);
            inflateEnd(&stream);
            if (rc != Z_STREAM_END)
                return bad();
        } else {
            return failure(
                QStringLiteral("The workbook is packed in a way this tool cannot read."));
        }
        files.insert(name, content);
        at += 46 + nameLength + u16(at + 30) + u16(at + 32);
    }
    return files;
}

// The text of every <t> inside each <si> of the shared strings.
QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader r(xml);
    QString current;
    bool inItem = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"si") {
            inItem = true;
            current.clear();
        } else if (r.isStartElement() && r.name() == u"t" && inItem) {
            current += r.readElementText();
        } else if (r.isEndElement() && r.name() == u"si") {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

// The path in the archive of the workbook's first sheet.
QString firstSheetPath(const QHash<QString, QByteArray> &files)
{
    QString relation;
    QXmlStreamReader book(files.value(QStringLiteral("xl/workbook.xml")));
    while (!book.atEnd() && relation.isEmpty()) {
        book.readNext();
        if (book.isStartElement() && book.name() == u"sheet") {
            for (const QXmlStreamAttribute &a : book.attributes()) {
                if (a.name() == u"id")
                    relation = a.value().toString();
            }
        }
    }
    QXmlStreamReader rels(files.value(QStringLiteral("xl/_rels/workbook.xml.rels")));
    while (!rels.atEnd()) {
        rels.readNext();
        if (rels.isStartElement() && rels.name() == u"Relationship" &&
            rels.attributes().value(QLatin1String("Id")) == relation) {
            QString target = rels.attributes().value(QLatin1String("Target")).toString();
            return target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
        }
    }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}

// "C12" -> 2 (the column, from 0).
int columnOf(QStringView reference)
{
    int column = 0;
    for (QChar c : reference) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.toUpper().unicode() - u'A' + 1);
    }
    return column - 1;
}

// A number as the sheet stores it (a double's shortest text) as a person would type it:
// "1.2E-3" written out, and a double's noise past the fourth decimal left for rounding.
QString numberText(const QString &stored)
{
    if (!stored.contains(u'E', Qt::CaseInsensitive))
        return stored;
    bool ok = false;
    const double value = stored.toDouble(&ok);
    if (!ok)
        return stored;
    QString text = QString::number(value, 'f', 10);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

Result<TableFile> parseDelimitedText(const QByteArray &bytes)
{
    TableFile table;
    const QString text = decodeText(bytes, table.encoding);
    table.delimiter = detectDelimiter(text);

    QList<QStringList> records;
    QList<int> lines;
    QStringList record;
    QString cell;
    bool quoted = false;
    int line = 1;
    int recordLine = 1;
    const auto endCell = [&] {
        record << cell;
        cell.clear();
    };
    const auto endRecord = [&] {
        endCell();
        if (!isBlank(record)) {
            records << record;
            lines << recordLine;
        }
        record.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == table.delimiter) {
            endCell();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
            ++line;
            recordLine = line;
        } else {
            cell += c;
        }
    }
    if (quoted)
        return failure(QStringLiteral("Line %1: a quoted cell is never closed.").arg(recordLine));
    if (!cell.isEmpty() || !record.isEmpty())
        endRecord();
    if (records.isEmpty())
        return failure(QStringLiteral("The file is empty."));
    for (const QString &name : records.takeFirst())
        table.header << name.trimmed();
    lines.removeFirst();
    table.rows = std::move(records);
    table.lines = std::move(lines);
    return table;
}

Result<TableFile> parseWorkbook(const QByteArray &bytes)
{
    auto files = unzip(bytes);
    if (!files)
        return tl::unexpected(files.error());
    const QString sheetPath = firstSheetPath(*files);
    if (!files->contains(sheetPath))
        return failure(QStringLiteral("The workbook has no sheet."));
    const QStringList strings = sharedStrings(files->value(QStringLiteral("xl/sharedStrings.xml")));

    TableFile table;
    table.encoding = QStringLiteral("xlsx");
    QList<QStringList> records;
    QList<int> lines;
    QXmlStreamReader r(files->value(sheetPath));
    QStringList row;
    int rowNumber = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"row") {
            row.clear();
            rowNumber = r.attributes().value(QLatin1String("r")).toInt();
            if (rowNumber <= 0)
                rowNumber = (lines.isEmpty() ? 0 : lines.constLast()) + 1;
        } else if (r.isStartElement() && r.name() == u"c") {
            const QString type = r.attributes().value(QLatin1String("t")).toString();
            const int column =
                qMax(int(row.size()), columnOf(r.attributes().value(QLatin1String("r"))));
            QString value;
            while (!(r.isEndElement() && r.name() == u"c") && !r.atEnd()) {
                r.readNext();
                if (r.isStartElement() && (r.name() == u"v" || r.name() == u"t"))
                    value += r.readElementText();
            }
            if (type == u"s") {
                const int index = value.toInt();
                value = index >= 0 && index < strings.size() ? strings.at(index) : QString();
            } else if (type.isEmpty() || type == u"n") {
                value = numberText(value);
            }
            while (row.size() < column)
                row << QString();
            row << value;
        } else if (r.isEndElement() && r.name() == u"row") {
            if (!isBlank(row)) {
                records << row;
                lines << rowNumber;
            }
        }
    }
    if (r.hasError())
        return failure(
            QStringLiteral("The workbook's sheet cannot be read: %1").arg(r.errorString()));
    if (records.isEmpty())
        return failure(QStringLiteral("The workbook's first sheet is empty."));
    for (const QString &name : records.takeFirst())
        table.header << name.trimmed();
    lines.removeFirst();
    table.rows = std::move(records);
    table.lines = std::move(lines);
    return table;
}

Result<TableFile> readTableFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (QFileInfo(path).suffix().compare(u"xlsx", Qt::CaseInsensitive) == 0)
        return parseWorkbook(bytes);
    return parseDelimitedText(bytes);
}

} // namespace kestrel::admin
