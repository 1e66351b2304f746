// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ExamRequestEntry.h"

#include "core/components/clsCodeLookup.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// The entry grid as a table over the entry's lines, with an empty row below them for the
// next exam. Model row r is grid row r + 1.
class ExamRequestGrid : public QAbstractTableModel
{
public:
    ExamRequestGrid(const QList<ExamRequestLine> &lines, QObject *parent)
        : QAbstractTableModel(parent)
        , m_lines(lines)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_lines.size()) + 1;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ExamRequestEntry::ColumnCount;
    }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= m_lines.size())
            return {};
        const ExamRequestLine &l = m_lines.at(index.row());
        if (role == Qt::TextAlignmentRole)
            return index.column() == ExamRequestEntry::Quantity ||
                           index.column() == ExamRequestEntry::Amount
                       ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                       : QVariant();
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return {};
        switch (index.column()) {
        case ExamRequestEntry::Code:
            return l.code;
        case ExamRequestEntry::Description:
            return l.description;
        case ExamRequestEntry::Quantity:
            return formatNumber(l.quantity, u"#,##0");
        case ExamRequestEntry::Amount:
            return formatNumber(l.amount, u"#,##0.00");
        case ExamRequestEntry::Section:
            return l.section;
        case ExamRequestEntry::Stat:
            return l.stat;
        case ExamRequestEntry::Remarks:
            return l.remarks;
        case ExamRequestEntry::UnitPrice:
            return l.unitPrice.toString();
        case ExamRequestEntry::Department:
            return l.department;
        case ExamRequestEntry::SpecimenId:
            return l.specimenId;
        case ExamRequestEntry::SpecimenName:
            return l.specimen;
        case ExamRequestEntry::MaxQuantity:
            return l.maxQuantity;
        case ExamRequestEntry::Reason:
            return l.reason;
        case ExamRequestEntry::StatRule:
            return l.statRule;
        case ExamRequestEntry::SpecimenRequired:
            return l.specimenRequired ? QStringLiteral("1") : QStringLiteral("0");
        case ExamRequestEntry::RowNumber:
            return index.row() + 1;
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return ExamRequestEntry::captions().value(section);
    }
    void reload()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const QList<ExamRequestLine> &m_lines;
};

} // namespace

ExamRequestEntry::ExamRequestEntry(Session &session, clsCodeLookup *codeLookup, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_codeLookup(codeLookup)
    , m_guards(session)
    , m_grid(new ExamRequestGrid(m_lines, this))
{
}

QStringList ExamRequestEntry::captions()
{
    return {QString(),          QStringLiteral("CODE"),    QStringLiteral("DESCRIPTION"),
            QStringLiteral("QTY"), QStringLiteral("AMOUNT"), QStringLiteral("SECTION"),
            QStringLiteral("STAT"), QStringLiteral("REMARKS"), QString(),
            QString(),          QString(),                 QString(),
            QString(),          QStringLiteral("REASON"),  QString(),
            QString(),          QString()};
}

bool ExamRequestEntry::isHidden(int column)
{
    return column >= UnitPrice && column != Reason;
}

bool ExamRequestEntry::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

void ExamRequestEntry::changed()
{
    static_cast<ExamRequestGrid *>(m_grid)->reload();
    Q_EMIT linesChanged();
}

bool ExamRequestEntry::open(const QString &idNum, const QString &department)
{
    m_lines.clear();
    m_profiles.clear();
    m_department = department.trimmed().toUpper();
    m_header = ProfileHeader();
    changed();
    if (idNum.trimmed().isEmpty())
        return refuse(QStringLiteral("Please select a patient first."));
    if (m_department.isEmpty())
        return refuse(QStringLiteral("Please choose the department to request from."));
    Database &db = m_session.db();
    auto now = db.loadServerDate();
    if (!now)
        return m_session.notifier().errorBox(now.error()), false;
    auto header = ProfileStore(db).header(idNum.trimmed(), now->date());
    if (!header)
        return m_session.notifier().errorBox(header.error()), false;
    if (header->HospNum.isEmpty())
        return refuse(QStringLiteral("No records found."));
    m_header = std::move(*header);
    ExamRequestStore store(db);
    auto room = m_header.outpatient ? Result<QString>(QString()) : store.roomOf(m_header.IdNum);
    auto cash = store.cashBasis(m_header.IdNum, m_header.outpatient);
    if (!room || !cash)
        return m_session.notifier().errorBox(!room ? room.error() : cash.error()), false;
    m_rateLetter = modGlobals::GetRateClass(m_session, m_header.IdNum,
                                            m_header.outpatient ? QStringLiteral("O")
                                                                : QStringLiteral("I"),
                                            *room);
    m_cashBasis = *cash;
    return true;
}

CellAnswer ExamRequestEntry::enterCode(const QString &typed)
{
    QString code = typed.trimmed().toUpper();
    if (m_codeLookup) {
        const int kind = ExamRequestStore::lookupKind(m_department);
        if (kind == clsCodeLookup::OtherRevenues) {
            OtherRevenueRecord section;
            section.OtherSectionID = m_department;
            m_codeLookup->setOtherRevenueRecord(section);
        }
        if (!m_codeLookup->SearchListing(kind, code))
            return CellAnswer::RefuseAndEmpty;
        switch (kind) {
        case clsCodeLookup::XrayExams:
            code = m_codeLookup->XrayExamRecord().ResultCode;
            break;
        case clsCodeLookup::LabExams:
            code = m_codeLookup->LabExamRecord().ResultCode;
            break;
        case clsCodeLookup::UltrasoundExams:
            code = m_codeLookup->UltrasoundRecord().ResultCode;
            break;
        case clsCodeLookup::HSExams:
            code = m_codeLookup->HSExamRecord().ResultCode;
            break;
        case clsCodeLookup::PTExams:
            code = m_codeLookup->PTExamRecord().ResultCode;
            break;
        case clsCodeLookup::RTSExams:
            code = m_codeLookup->RTSExamRecord().ResultCode;
            break;
        case clsCodeLookup::NuclearExams:
            code = m_codeLookup->NuclearExamRecord().ResultCode;
            break;
        case clsCodeLookup::CTExams:
            code = m_codeLookup->CTExamRecord().ResultCode;
            break;
        default:
            code = m_codeLookup->OtherRevenueRecord().ResultCode;
            break;
        }
    }
    if (code.trimmed().isEmpty())
        return CellAnswer::RefuseAndEmpty;
    return pickExam(code.trimmed()) ? CellAnswer::Accept : CellAnswer::RefuseAndEmpty;
}

bool ExamRequestEntry::pickExam(const QString &code)
{
    Notifier &notifier = m_session.notifier();
    ExamRequestStore store(m_session.db());
    auto exam = store.exam(m_department, code);
    if (!exam)
        return notifier.errorBox(exam.error()), false;
    if (!*exam)
        return refuse(QStringLiteral("Examination code does not exist."));
    const ExamRecord &e = **exam;
    if (m_guards.checkExam(m_header.IdNum, m_department, e.code, e.description, m_lines,
                           m_profiles) != ExamRequestGuards::Outcome::Passed)
        return false;
    ExamRequestLine line;
    line.department = m_department;
    line.code = e.code;
    line.description = e.description;
    line.section = e.section;
    line.unitPrice = e.rate(m_rateLetter);
    line.amount = line.unitPrice;
    line.maxQuantity = e.maxQuantity;
    line.statRule = e.statRule;
    line.specimenRequired = e.specimenRequired;
    auto now = m_session.db().loadServerDate();
    if (!now)
        return notifier.errorBox(now.error()), false;
    line.stat = ExamRequestGuards::defaultStat(e.statRule, *now, m_cashBasis);
    if (m_department == u"LB") {
        auto specimen = store.defaultSpecimen(e.code);
        if (!specimen)
            return notifier.errorBox(specimen.error()), false;
        line.specimenId = specimen->id;
        line.specimen = specimen->name;
    }
    if (line.amount.isZero())
        return refuse(QStringLiteral("Cannot charge examination with Zero(0) amount."));
    for (const ExamRequestLine &l : std::as_const(m_lines)) {
        if (l.code.compare(line.code, Qt::CaseInsensitive) == 0)
            return refuse(QStringLiteral("Examination is already in the Orders List."));
    }
    m_lines << line;
    changed();
    return true;
}

bool ExamRequestEntry::setQuantity(int row, const QString &text)
{
    if (row < 1 || row > m_lines.size())
        return false;
    ExamRequestLine &line = m_lines[row - 1];
    bool ok = false;
    const double quantity = text.trimmed().toDouble(&ok);
    const bool limited = m_department == u"LB" || m_department == u"XR" || m_department == u"US";
    if (limited && line.maxQuantity == 1 && (!ok || quantity != 1))
        return refuse(m_department == u"LB"
                          ? QStringLiteral("You may only enter one(1) as quantity for this "
                                           "procedure.")
                          : QStringLiteral("You can only enter one(1) as quantity for this "
                                           "procedure."));
    if (!ok || quantity <= 0 || (limited && line.maxQuantity > 1 && quantity > line.maxQuantity))
        return refuse(limited && line.maxQuantity > 1
                          ? QStringLiteral("Quantity should be > 0 and <= %1.")
                                .arg(line.maxQuantity)
                          : QStringLiteral("Quantity should be greater than zero(0)."));
    line.quantity = quantity;
    line.amount = line.unitPrice * quantity;
    changed();
    return true;
}

bool ExamRequestEntry::setStat(int row, const QString &text)
{
    if (row < 1 || row > m_lines.size())
        return false;
    ExamRequestLine &line = m_lines[row - 1];
    if (m_guards.checkStat(m_header.IdNum, m_header.outpatient, line, text) !=
        ExamRequestGuards::Outcome::Passed)
        return false;
    line.stat = text.trimmed().toUpper();
    changed();
    return true;
}

void ExamRequestEntry::setRemarks(int row, const QString &text)
{
    if (row < 1 || row > m_lines.size())
        return;
    m_lines[row - 1].remarks = text.trimmed();
    changed();
}

void ExamRequestEntry::setReason(int row, const QString &text)
{
    if (row < 1 || row > m_lines.size())
        return;
    m_lines[row - 1].reason = text.trimmed();
    changed();
}

void ExamRequestEntry::setSpecimen(int row, const Specimen &specimen)
{
    if (row < 1 || row > m_lines.size())
        return;
    m_lines[row - 1].specimenId = specimen.id;
    m_lines[row - 1].specimen = specimen.name;
    changed();
}

bool ExamRequestEntry::deleteLine(int row)
{
    if (m_lines.isEmpty())
        return refuse(QStringLiteral("Row cannot be deleted because there are no entries yet."));
    if (row < 1 || row > m_lines.size())
        return false;
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure to delete the request?"),
                                      QStringLiteral("Confirmation")))
        return false;
    const QString code = m_lines.at(row - 1).code;
    m_lines.removeAt(row - 1);
    // The exams a deleted profile brought into the profile grid go with it.
    m_profiles.removeIf([&code](const ProfileExam &p) {
        return p.profileId.compare(code, Qt::CaseInsensitive) == 0;
    });
    changed();
    return true;
}

bool ExamRequestEntry::accept()
{
    for (const ExamRequestLine &line : std::as_const(m_lines)) {
        if (const QString text = ExamRequestGuards::specimenRefusal(line); !text.isEmpty())
            return refuse(text);
    }
    Q_EMIT accepted(m_lines);
    return true;
}

CommonExams::Order ExamRequestEntry::toOrder(const ExamRequestLine &line)
{
    CommonExams::Order o;
    o.department = line.department;
    o.code = line.code;
    o.exam = line.description;
    o.amount = line.amount;
    o.quantity = line.quantity;
    o.stat = line.stat;
    o.remarks = line.remarks;
    o.section = line.section;
    o.specimenId = line.specimenId;
    o.specimen = line.specimen;
    o.reason = line.reason;
    o.statRule = line.statRule;
    o.specimenRequired = line.specimenRequired;
    return o;
}

bool ExamRequestEntry::mayEdit(GridCell cell) const
{
    if (cell.row < 1 || cell.row > m_lines.size() + 1)
        return false;
    if (cell.row == m_lines.size() + 1)
        return cell.column == Code;
    return cell.column == Quantity || cell.column == Stat || cell.column == Remarks ||
           cell.column == Reason;
}

CellAnswer ExamRequestEntry::acceptCell(GridCell cell, const QString &text)
{
    switch (cell.column) {
    case Code:
        return enterCode(text);
    case Quantity:
        return setQuantity(cell.row, text) ? CellAnswer::Accept : CellAnswer::RefuseAndKeep;
    case Stat:
        return setStat(cell.row, text) ? CellAnswer::Accept : CellAnswer::RefuseAndEmpty;
    case Remarks:
        setRemarks(cell.row, text);
        return CellAnswer::Accept;
    case Reason:
        setReason(cell.row, text);
        return CellAnswer::Accept;
    default:
        return CellAnswer::RefuseAndKeep;
    }
}

QString ExamRequestEntry::prompt(int column) const
{
    switch (column) {
    case Code:
        return QStringLiteral("Type the Examination Code or first few Letter(s) of the "
                              "Examination name then press the <Enter> Key.");
    case Quantity:
        return QStringLiteral("Type the quantity then press the <Enter> Key.");
    case Stat:
        return QStringLiteral("Type [Y]-YES if the Examination is STAT and [N]-NO if it is "
                              "ROUTINE.");
    case Remarks:
        return QStringLiteral("Type additional remarks.");
    case Reason:
        return QStringLiteral("Type the reason for the examination.");
    default:
        return QString();
    }
}

int ExamRequestEntry::maxLength(int column) const
{
    switch (column) {
    case Stat:
        return 1;
    case Quantity:
        return 6;
    case Code:
        return 30;
    default:
        return 100;
    }
}

} // namespace kestrel
