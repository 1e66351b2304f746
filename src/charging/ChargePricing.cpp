// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargePricing.h"

#include "charging/modPricing.h"
#include "patients/modGlobals.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/CodeLookupRecords.h"
#include "core/db/NumberFormat.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kOR = QStringLiteral("OR");

// The item's price at a rate letter of the master file.
Money rateOf(const OtherRevenueRecord &item, QChar letter)
{
    switch (letter.unicode()) {
    case u'A':
        return item.RateA;
    case u'B':
        return item.RateB;
    case u'C':
        return item.RateC;
    case u'D':
        return item.RateD;
    case u'E':
        return item.RateE;
    case u'F':
        return item.RateF;
    case u'G':
        return item.RateG;
    case u'H':
        return item.RateH;
    case u'I':
        return item.RateI;
    default:
        return Money();
    }
}

// A price or amount as typed: blanks and thousands separators are ignored, anything that is no
// number reads as 0.
Money typedMoney(const QString &typed)
{
    QString plain = typed;
    plain.remove(u',');
    return ChargeLine::moneyOf(plain.trimmed());
}

} // namespace

ChargePricing::ChargePricing(Session &session, PricingPrompts &prompts)
    : m_session(session)
    , m_prompts(prompts)
{
}

const CurrentPatientRecord &ChargePricing::stay() const
{
    return m_stay ? *m_stay : m_session.CurrentPatient;
}

bool ChargePricing::isOutpatient() const
{
    return stay().PatientClass.trimmed().compare(u"O", Qt::CaseInsensitive) == 0 ||
           stay().isOutpatientStay();
}

bool ChargePricing::isORProcedure(const ChargeLine &line) const
{
    return line.department.trimmed().compare(kOR, Qt::CaseInsensitive) == 0 &&
           modGlobals::GetORItemSection(m_session, line.item.trimmed()) == u"PRC";
}

Money ChargePricing::plainAmount(const ChargeLine &line) const
{
    const Money amount = line.extended();
    return line.costMarkup ? amount + amount.percentOf(*line.costMarkup) : amount;
}

void ChargePricing::priceServiceItem(ChargeLine &line, const OtherRevenueRecord &item)
{
    const HospitalSettings &hs = m_session.hospital;
    const clsSettings &sw = m_session.settings;
    const QString IdNum = stay().IdNum.trimmed();
    const QString room = stay().RoomID.trimmed();
    const QString department = line.department.trimmed();
    line.item = item.ResultCode;
    line.description = item.OtherRevenue;
    const QString cls = isOutpatient() ? QStringLiteral("O") : QStringLiteral("I");
    if (m_stay)
        m_stay->PatientClass = cls;
    else
        m_session.CurrentPatient.PatientClass = cls;

    QString letter = modPricing::GetPatientRateLetter(m_session, IdNum, cls, room);
    if (hs.clientname == u"KWOSH" && modGlobals::IsHMOPatient(m_session, IdNum))
        letter = QStringLiteral("H");
    if (hs.clientname == u"FENDO" && cls == u"O" && department == u"MR" &&
        modPricing::GetStayAccount(m_session, IdNum, true) == u"4394")
        letter = QStringLiteral("H");
    if (sw.EnableORHMORate() && modGlobals::IsHMOPatient(m_session, IdNum))
        letter = QStringLiteral("H");
    if (sw.RateIforER() && modGlobals::IsERPatient(m_session, IdNum))
        letter = QStringLiteral("I");

    Money price = rateOf(item, letter.at(0));
    if (letter == u"H" && sw.ORHMORateByRoomClass())
        price = modPricing::GetHMORateByClass(m_session, IdNum, room, department, line.item);
    else if (letter == u"I" && sw.ORHMORateByRoomClass() &&
             modGlobals::IsHMOPatient(m_session, IdNum))
        price = modPricing::GetHMORateByClass(m_session, IdNum, room, department, line.item);
    if (sw.AllowInternationalRate() && modGlobals::IsInternational(m_session, IdNum))
        price = price * 1.1;
    line.setUnitPrice(price);
    line.orSection = department.compare(kOR, Qt::CaseInsensitive) == 0
                         ? modGlobals::GetORSection(m_session, line.item)
                         : QString();

    if (isORProcedure(line) && hs.clientname != u"QELM") {
        const Money ruv = modPricing::GetProcedureRUV(m_session, IdNum, line.item);
        if (ruv > Money())
            line.setUnitPrice(ruv);
        if (hs.AutoORMarkUp)
            ApplyAfterTimeRate(line);
        if (hs.IsShowMarkUp && !line.raisedByAfterTime)
            applyMarkup(line);
        ApplySecondOperationDiscount(line);
    }
    line.listPrice = line.unitPrice;
}

bool ChargePricing::priceDoctorsFee(ChargeLine &line, const DoctorRecord &doctor)
{
    const QString IdNum = stay().IdNum.trimmed();
    line.item = doctor.ResultCode;
    line.description = doctor.LastName + QStringLiteral(", ") + doctor.FirstName;
    if (m_session.hospital.IsShowAmount &&
        !modGlobals::HasDoctorBillRate(m_session, doctor.ResultCode)) {
        const DoctorsFeeAnswer answer =
            m_prompts.askDoctorsFee(doctor.ResultCode, line.description);
        if (answer.outcome == DoctorsFeeAnswer::Outcome::NoneFound)
            m_session.notifier().message(
                QStringLiteral("No record(s) found in the Doctor's Fee table! \r\n"
                               "Please contact EDP for further assistance."),
                kNotification, Notifier::Icon::Critical);
        // Closed without a fee, the line is not charged either, but nothing is missing.
        if (answer.outcome != DoctorsFeeAnswer::Outcome::Chosen) {
            line.clear();
            return false;
        }
        line.setUnitPrice(answer.fee);
    } else {
        const QString rateClass =
            stay().isOutpatientStay()
                ? modGlobals::GetOPDClassification(m_session, IdNum)
                : modGlobals::GetRoomClassification(m_session, stay().RoomID.trimmed());
        line.setUnitPrice(modPricing::GetDoctorsRate(m_session, doctor.ResultCode, rateClass));
    }
    line.setAmount(line.extended());
    line.listPrice = line.unitPrice;
    return true;
}

void ChargePricing::priceStockItem(ChargeLine &line, const clsDrug &drug)
{
    const HospitalSettings &hs = m_session.hospital;
    const QString IdNum = stay().IdNum.trimmed();
    const InventRecord &invent = drug.Invent();
    line.item = drug.DrugCode();
    line.description = drug.DrugName();
    if (hs.AppendDrugDescCharge)
        line.description += u' ' + drug.Description();
    line.quantity = QStringLiteral("1");
    line.location = drug.LocationID();
    line.costMarkup.reset();
    Money price = invent.SellingPriceIn;

    // An outpatient of a rate type other than "A" pays the outpatient price where the hospital
    // says so; the rate type is only read when it matters.
    auto outpatientRateTypeIsNotA = [&] {
        return isOutpatient() && modGlobals::GetOPDClassification(m_session, IdNum) != u"A";
    };
    if (hs.isListCost && hs.clientname == u"JUF" &&
        modPricing::GetAdmissionTypeID(m_session, IdNum) == u"9") {
        price = invent.averagecost;
        line.costMarkup = modPricing::GetCostMarkup(m_session);
    } else if (hs.IsCompanyPrice) {
        const QString account = modPricing::GetStayAccount(m_session, IdNum, isOutpatient());
        if (const std::optional<Money> agreed =
                modPricing::GetCompanyPrice(m_session, drug.DrugCode(), account))
            price = *agreed;
        else if (outpatientRateTypeIsNotA())
            price = invent.SellingPriceOut;
    } else if (m_session.settings.SupplyRateBasePType() && outpatientRateTypeIsNotA()) {
        price = invent.SellingPriceOut;
    }
    line.setUnitPrice(price);
    line.listPrice = line.unitPrice;
    line.setAmount(plainAmount(line));
}

bool ChargePricing::refuseZeroAmount(ChargeLine &line)
{
    if (!line.unitPriceValue().isZero() ||
        line.department.trimmed().compare(kOR, Qt::CaseInsensitive) == 0 ||
        m_session.hospital.IsShowAmount)
        return false;
    m_session.notifier().message(QStringLiteral("Record(s) indicate that the amount of the item is "
                                                "zero! \r\nPlease contact EDP for further "
                                                "assistance."),
                                 kNotification, Notifier::Icon::Critical);
    line.clear();
    return true;
}

void ChargePricing::ApplyAfterTimeRate(ChargeLine &line)
{
    const HospitalSettings &hs = m_session.hospital;
    if (!hs.AllowAfterTimeRate || hs.ORAfterTime.trimmed().isEmpty())
        return;
    if (!modPricing::IsWithinStatHours(m_session) && !modPricing::IsHolidayToday(m_session))
        return;
    const Money price = line.unitPriceValue();
    line.setUnitPrice(price + price.percentOf(hs.ORAfterTimeRate));
    line.setAmount(line.extended());
    line.raisedByAfterTime = true;
}

void ChargePricing::applyMarkup(ChargeLine &line)
{
    m_state.markupValue = 0;
    m_state.markupType = MarkupType::None;
    const MarkupChoice choice = m_prompts.askMarkup();
    m_state.markupValue = choice.value;
    m_state.markupType = choice.type;

    const double markup = m_state.markupValue;
    if (markup <= 0) {
        line.markupText.clear();
        return;
    }
    const Money price = line.unitPriceValue();
    if (!m_session.settings.UseNewORMarkUp()) {
        // The older list holds factors: 1.3 is thirty percent more.
        line.setUnitPrice(price * markup);
        line.markupText = numberText((markup - 1) * 100);
    } else if (m_state.markupType == MarkupType::Multiply) {
        line.setUnitPrice(price * (markup + 1));
        line.markupText = numberText(markup * 100) + u'%';
    } else if (m_state.markupType == MarkupType::Add) {
        line.setUnitPrice(price + Money::fromDouble(markup));
        line.markupText = numberText(markup);
    }
}

void ChargePricing::ApplySecondOperationDiscount(ChargeLine &line)
{
    const int percent = m_session.hospital.SecProcPercentDiscount;
    if (percent <= 0 || modPricing::HasSecondOperation(m_session, stay().IdNum))
        return;
    const bool tag = m_session.notifier().confirm(
        QStringLiteral("Would you like to tag this operation as patient's second operation? "
                       "\n\nSecond operation will have a %1% discount. \n\n"
                       "Click Yes to proceed and No to charge with regular amount.")
            .arg(percent),
        QStringLiteral("Confirmation"), Notifier::Icon::Question);
    if (!tag) {
        line.secondOperation = QStringLiteral("0");
        return;
    }
    const Money price = line.unitPriceValue();
    line.unitPrice = formatNumber(price - price.percentOf(percent), kFormatTwoDigits);
    line.amount = formatNumber(line.extended(), kFormatTwoDigits);
    line.secondOperation = QStringLiteral("1");
}

void ChargePricing::quantityEntered(ChargeLine &line)
{
    const HospitalSettings &hs = m_session.hospital;
    if (hs.isstat && !hs.AutoORMarkUp && !hs.IsShowMarkUp) {
        const bool stat = m_session.notifier().confirm(QStringLiteral("Is it Stat/Holiday?"),
                                                       QStringLiteral("Confirmation"),
                                                       Notifier::Icon::Question,
                                                       Notifier::Answer::No);
        m_state.statFlag = stat ? QStringLiteral("Y") : QStringLiteral("N");
        line.statFlag = m_state.statFlag;
        if (stat) {
            // The surcharge is counted once for the line, whatever its quantity.
            const Money price = line.unitPriceValue();
            line.setAmount(plainAmount(line) + price.percentOf(hs.CashStatRate));
            m_state.statAmount = line.amount;
        } else {
            line.setAmount(plainAmount(line));
        }
    } else {
        line.setAmount(plainAmount(line));
    }

    const QString instrumentFee = m_session.settings.InstrumentFeeRevID().trimmed();
    if (!instrumentFee.isEmpty() && line.quantityValue() > 0 &&
        line.item.trimmed().compare(instrumentFee, Qt::CaseInsensitive) == 0)
        line.setAmount(Money::fromDouble(m_session.settings.InstrumentHandlingFee()) *
                       line.quantityValue());
}

bool ChargePricing::canEditUnitPrice(const ChargeLine &line) const
{
    const QString department = line.department.trimmed().toUpper();
    return department == u"MD" || (department == kOR && m_session.settings.EditORAmount());
}

bool ChargePricing::unitPriceTyped(ChargeLine &line, const QString &typed)
{
    const Money price = typedMoney(typed);
    if (m_session.hospital.IsAllowZeroAmountForORProcedures && isORProcedure(line)) {
        line.setUnitPrice(price);
        line.setAmount(line.extended());
        return true;
    }
    if (m_session.hospital.isAllowLowerUnitPrice && price < line.listPriceValue()) {
        m_session.notifier().message(QStringLiteral("Unit Price should be >= ") + line.listPrice,
                                     QString(), Notifier::Icon::None);
        line.unitPrice = line.listPrice;
        line.setAmount(line.extended());
        return false;
    }
    line.setUnitPrice(price);
    line.setAmount(line.extended());
    return true;
}

bool ChargePricing::amountTyped(ChargeLine &line, const QString &typed)
{
    const Money amount = typedMoney(typed);
    if (amount <= Money()) {
        m_session.notifier().message(QStringLiteral("Amount should be greater than zero(0)."),
                                     kNotification, Notifier::Icon::Information);
        return false;
    }
    if (amount < line.extended()) {
        m_session.notifier().message(
            QStringLiteral("Total Amount should be greater than or equal to QTY * Unit Price."),
            kNotification, Notifier::Icon::Information);
        return false;
    }
    line.amount = formatNumber(amount, kFormatPlain);
    return true;
}

void ChargePricing::finishLine(ChargeLine &line)
{
    if (line.department.trimmed().compare(kOR, Qt::CaseInsensitive) != 0)
        return;
    line.arCode = modGlobals::GetARCode(m_session, stay().IdNum.trimmed(), kOR,
                                        QStringLiteral("1"));
    line.setAmount(line.amountValue() + line.mealAmountValue());
}

void ChargePricing::setStatPatient(QList<ChargeLine> &lines, bool stat)
{
    for (ChargeLine &line : lines) {
        if (!line.isComplete())
            continue;
        const Money plain = line.extended();
        if (!stat)
            line.setAmount(plain);
        else if (line.amountValue() > Money() && line.orSection.trimmed() == u"P")
            line.setAmount(plain + plain.percentOf(25));
    }
}

} // namespace kestrel
