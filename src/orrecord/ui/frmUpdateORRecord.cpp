// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ui/frmUpdateORRecord.h"

#include "core/Notifier.h"
#include "core/Session.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace kestrel {

namespace {

constexpr int kMostERProcedures = 5;

QLineEdit *shown(const QString &name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QPlainTextEdit *text(const QString &name)
{
    auto *edit = new QPlainTextEdit;
    edit->setObjectName(name);
    edit->setTabChangesFocus(true);
    edit->setMaximumHeight(70);
    return edit;
}

// Options in a box, none chosen until the user chooses; a choice's id is its index.
QGroupBox *options(const QString &title, const QString &name, const QStringList &choices,
                   QButtonGroup *group, int columns)
{
    auto *box = new QGroupBox(title);
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < choices.size(); ++i) {
        auto *option = new QRadioButton(choices.at(i));
        option->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(i));
        group->addButton(option, i);
        grid->addWidget(option, i / columns, i % columns);
    }
    return box;
}

void choose(QButtonGroup *group, int id)
{
    // An exclusive group cannot be emptied by unchecking its button.
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

QTimeEdit *timeEdit(const QString &name)
{
    auto *t = new QTimeEdit;
    t->setObjectName(name);
    t->setDisplayFormat(QStringLiteral("hh:mm AP"));
    return t;
}

QDateEdit *dateEdit(const QString &name)
{
    auto *d = new QDateEdit;
    d->setObjectName(name);
    d->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    d->setCalendarPopup(true);
    return d;
}

// A Windows colour (0xBBGGRR) as Qt names it.
QString colorName(int bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff).name();
}

} // namespace

frmUpdateORRecord::frmUpdateORRecord(Session &session, clsIcdLookup *icd, clsCF4 *cf4,
                                     QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session, icd, cf4)
    , m_searcher(session, m_pickList)
{
    setObjectName(QStringLiteral("frmUpdateORRecord"));
    setWindowTitle(QStringLiteral("Update Operation Room Record ( Result Entry )"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(headerBox());
    auto *tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("tabResult"));
    tabs->addTab(dischargeTab(), QStringLiteral("Admitting/Discharge Info"));
    tabs->addTab(diagnosisTab(), QStringLiteral("Diagnosis"));
    tabs->addTab(referralTab(), QStringLiteral("Referral / Death Info"));
    tabs->addTab(precautionTab(), QStringLiteral("Infection Control"));
    layout->addWidget(tabs);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *saveButton = new QPushButton(QStringLiteral("&Save"));
    saveButton->setObjectName(QStringLiteral("cmdSave"));
    auto *closeButton = new QPushButton(QStringLiteral("&Close"));
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            close();
    });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

QWidget *frmUpdateORRecord::headerBox()
{
    auto *box = new QWidget;
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    m_hospNum = shown(QStringLiteral("txtHospNum"));
    m_idNum = shown(QStringLiteral("txtIdNum"));
    m_erNum = shown(QStringLiteral("txtERNum"));
    m_lastName = shown(QStringLiteral("txtLastName"));
    m_firstName = shown(QStringLiteral("txtFirstName"));
    m_middleName = shown(QStringLiteral("txtMiddleName"));
    m_birthDate = shown(QStringLiteral("txtBirthDate"));
    const std::pair<QString, QLineEdit *> fields[] = {
        {QStringLiteral("Hospital No."), m_hospNum}, {QStringLiteral("Admission No."), m_idNum},
        {QStringLiteral("ER No."), m_erNum},         {QStringLiteral("Last Name"), m_lastName},
        {QStringLiteral("First Name"), m_firstName}, {QStringLiteral("Middle Name"), m_middleName},
        {QStringLiteral("Birth Date"), m_birthDate}};
    int i = 0;
    for (const auto &[caption, edit] : fields) {
        grid->addWidget(new QLabel(caption), (i / 3) * 2, i % 3);
        grid->addWidget(edit, (i / 3) * 2 + 1, i % 3);
        ++i;
    }
    m_sex = new QButtonGroup(box);
    auto *sex = new QHBoxLayout;
    for (const QString &s : {QStringLiteral("Male"), QStringLiteral("Female")}) {
        auto *option = new QRadioButton(s);
        option->setEnabled(false);
        m_sex->addButton(option, int(m_sex->buttons().size()));
        sex->addWidget(option);
    }
    grid->addLayout(sex, 5, 1, 1, 2);
    return box;
}

QWidget *frmUpdateORRecord::dischargeTab()
{
    auto *tab = new QWidget;
    auto *layout = new QGridLayout(tab);
    auto *admission = new QGroupBox(QStringLiteral("Admission Information"));
    auto *form = new QFormLayout(admission);
    m_admDate = dateEdit(QStringLiteral("dtpAdmDate"));
    m_admDate->setEnabled(false);
    m_admTime = timeEdit(QStringLiteral("dtpAdmTime"));
    m_admTime->setEnabled(false);
    m_dcrDate = new QLineEdit;
    m_dcrDate->setObjectName(QStringLiteral("mskDcrDate"));
    m_dcrDate->setInputMask(QStringLiteral("99/99/9999"));
    m_dcrTime = timeEdit(QStringLiteral("dtpDcrTime"));
    form->addRow(QStringLiteral("Adm. Date"), m_admDate);
    form->addRow(QStringLiteral("Adm. Time"), m_admTime);
    form->addRow(QStringLiteral("Dcr. Date"), m_dcrDate);
    form->addRow(QStringLiteral("Dcr. Time"), m_dcrTime);
    m_type = new QButtonGroup(tab);
    auto *type = options(QStringLiteral("Type of Patient"), QStringLiteral("optType"),
                         {QStringLiteral("Out-Patient"), QStringLiteral("ER Patient")}, m_type, 2);
    type->setEnabled(false);
    form->addRow(type);
    layout->addWidget(admission, 0, 0);

    m_category = new QButtonGroup(tab);
    layout->addWidget(options(QStringLiteral("Patient Category"), QStringLiteral("optPatient"),
                              OutpatientResult::categories(), m_category, 2),
                      0, 1);
    m_erClass = new QButtonGroup(tab);
    layout->addWidget(
        options(QStringLiteral("ER Classification"), QStringLiteral("optERClass"),
                OutpatientResult::erClassifications(m_session.settings.ShowReferredACC()),
                m_erClass, 3),
        1, 0);
    auto *procedures = new QGroupBox(QStringLiteral("ER Procedure"));
    auto *grid = new QGridLayout(procedures);
    const QStringList kinds = OutpatientResult::erProcedures();
    for (int i = 0; i < kinds.size(); ++i) {
        auto *tick = new QCheckBox(kinds.at(i));
        tick->setObjectName(QStringLiteral("chkERClass(%1)").arg(i));
        m_erProcedures << tick;
        grid->addWidget(tick, i / 3, i % 3);
        // The ER record keeps five procedures.
        connect(tick, &QCheckBox::toggled, this, [this, tick](bool on) {
            int ticked = 0;
            for (QCheckBox *c : std::as_const(m_erProcedures))
                ticked += c->isChecked() ? 1 : 0;
            if (on && ticked > kMostERProcedures)
                tick->setChecked(false);
        });
    }
    layout->addWidget(procedures, 1, 1);
    m_condition = new QButtonGroup(tab);
    layout->addWidget(options(QStringLiteral("Condition on Discharge"),
                              QStringLiteral("optCondition"), OutpatientResult::conditions(),
                              m_condition, 3),
                      2, 0);
    auto *disposition = new QGroupBox(QStringLiteral("Disposition"));
    auto *row = new QHBoxLayout(disposition);
    m_disposition = new QComboBox;
    m_disposition->setObjectName(QStringLiteral("cboDisposition"));
    m_disposition->addItem(QString());
    m_disposition->addItems(OutpatientResult::dispositions());
    row->addWidget(m_disposition);
    layout->addWidget(disposition, 2, 1);
    return tab;
}

frmUpdateORRecord::CodeField frmUpdateORRecord::codeField(const QString &name, int index)
{
    CodeField f;
    f.code = new QLineEdit;
    f.code->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(index));
    f.code->setMaximumWidth(90);
    f.name = shown(QStringLiteral("%1Name(%2)").arg(name).arg(index));
    return f;
}

void frmUpdateORRecord::watch(CodeField field,
                              const std::function<QString(const QString &)> &lookUp)
{
    connect(field.code, &QLineEdit::editingFinished, this, [field, lookUp] {
        if (!field.code->isModified())
            return;
        field.code->setModified(false);
        const QString name = lookUp(field.code->text());
        field.name->setText(name);
        if (name.isEmpty())
            field.code->clear();
        else
            field.code->setText(field.code->text().trimmed().toUpper());
    });
}

QWidget *frmUpdateORRecord::diagnosisTab()
{
    auto *tab = new QWidget;
    auto *layout = new QGridLayout(tab);
    auto codes = [this](const QString &title, const QString &name, int count,
                        QList<CodeField> &fields,
                        const std::function<QString(int, const QString &)> &lookUp) {
        auto *box = new QGroupBox(title);
        auto *grid = new QGridLayout(box);
        for (int i = 0; i < count; ++i) {
            CodeField f = codeField(name, i);
            grid->addWidget(f.code, i % 5, (i / 5) * 2);
            grid->addWidget(f.name, i % 5, (i / 5) * 2 + 1);
            watch(f, [lookUp, i](const QString &code) { return lookUp(i, code); });
            fields << f;
        }
        return box;
    };
    layout->addWidget(
        codes(QStringLiteral("Services"), QStringLiteral("txtService"), 5, m_services,
              [this](int i, const QString &c) { return m_presenter.lookUpService(i, c); }),
        0, 0);
    layout->addWidget(
        codes(QStringLiteral("Doctors"), QStringLiteral("txtDoctor"), 5, m_doctors,
              [this](int i, const QString &c) { return m_presenter.lookUpDoctor(i, c); }),
        0, 1);
    layout->addWidget(
        codes(QStringLiteral("ICD 10 Diagnosis Code"), QStringLiteral("txtICDCode"), 10,
              m_diagnoses,
              [this](int i, const QString &c) { return m_presenter.lookUpDiagnosis(i, c); }),
        1, 0, 1, 2);
    auto *texts = new QFormLayout;
    m_findings = text(QStringLiteral("txtFindings"));
    m_medications = text(QStringLiteral("txtMedications"));
    m_chiefComplaints = text(QStringLiteral("txtChiefComplaints"));
    m_briefHistory = text(QStringLiteral("txtBriefHistory"));
    m_remarks = text(QStringLiteral("txtRemarks"));
    texts->addRow(QStringLiteral("Diagnosis/Findings"), m_findings);
    texts->addRow(QStringLiteral("Medications"), m_medications);
    texts->addRow(QStringLiteral("Chief Complaints"), m_chiefComplaints);
    auto *chief = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        CodeField f = codeField(QStringLiteral("txtChiefID"), i);
        chief->addWidget(f.code);
        chief->addWidget(f.name);
        watch(f, [this, i](const QString &c) { return m_presenter.lookUpChiefComplaint(i, c); });
        m_chiefIds << f;
    }
    texts->addRow(QString(), chief);
    texts->addRow(QStringLiteral("Brief History"), m_briefHistory);
    texts->addRow(QStringLiteral("Remarks"), m_remarks);
    m_diet = codeField(QStringLiteral("txtDiet"), 0);
    m_dietRemarks = shown(QStringLiteral("txtDietRemarks"));
    watch(m_diet, [this](const QString &c) {
        QString remark;
        const QString name = m_presenter.lookUpDiet(c, &remark);
        m_dietRemarks->setText(remark);
        return name;
    });
    auto *diet = new QHBoxLayout;
    diet->addWidget(m_diet.code);
    diet->addWidget(m_diet.name);
    diet->addWidget(new QLabel(QStringLiteral("Diet Remarks:")));
    diet->addWidget(m_dietRemarks);
    texts->addRow(QStringLiteral("Patient Diet"), diet);
    layout->addLayout(texts, 2, 0, 1, 2);
    return tab;
}

QWidget *frmUpdateORRecord::referralTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    auto *referral = new QGroupBox(QStringLiteral("Referred To / Remarks"));
    auto *form = new QFormLayout(referral);
    m_referredTo = new QLineEdit;
    m_referredTo->setObjectName(QStringLiteral("txtReferredTo"));
    // The hospital referred to is found by the beginning of its name.
    connect(m_referredTo, &QLineEdit::editingFinished, this, [this] {
        if (!m_referredTo->isModified() || m_referredTo->text().trimmed().isEmpty())
            return;
        m_referredTo->setModified(false);
        if (m_searcher.SearchHospital(m_referredTo->text()))
            m_referredTo->setText(m_searcher.Description());
    });
    m_reason = text(QStringLiteral("txtReasonReferral"));
    m_transferred = new QCheckBox(QStringLiteral("Transferred"));
    m_transferred->setObjectName(QStringLiteral("chkTransferred"));
    m_transferDate = dateEdit(QStringLiteral("dtpDateTransferred"));
    m_transferTime = timeEdit(QStringLiteral("dtpTimeTransferred"));
    form->addRow(QStringLiteral("Referred To"), m_referredTo);
    form->addRow(QStringLiteral("Reason of Referral"), m_reason);
    form->addRow(m_transferred);
    form->addRow(QStringLiteral("Date Transferred:"), m_transferDate);
    form->addRow(QStringLiteral("Time Transferred:"), m_transferTime);
    layout->addWidget(referral);

    auto *death = new QGroupBox(QStringLiteral("Death Info"));
    auto *deathForm = new QFormLayout(death);
    m_deathType = new QButtonGroup(tab);
    deathForm->addRow(options(QStringLiteral("Type of Death"), QStringLiteral("optDeathType"),
                              OutpatientResult::deathTypes(), m_deathType, 2));
    m_expiredDate = dateEdit(QStringLiteral("dtpDateExpired"));
    m_expiredTime = timeEdit(QStringLiteral("dtpTimeExpired"));
    m_releasedDate = dateEdit(QStringLiteral("dtpDateReleased"));
    m_releasedTime = timeEdit(QStringLiteral("dtpTimeReleased"));
    m_funeralParlor = new QLineEdit;
    m_funeralParlor->setObjectName(QStringLiteral("txtFuneralParlor"));
    deathForm->addRow(QStringLiteral("Date Expired:"), m_expiredDate);
    deathForm->addRow(QStringLiteral("Time Expired:"), m_expiredTime);
    deathForm->addRow(QStringLiteral("Date Released:"), m_releasedDate);
    deathForm->addRow(QStringLiteral("Time Released:"), m_releasedTime);
    deathForm->addRow(QStringLiteral("Funeral Parlor:"), m_funeralParlor);
    layout->addWidget(death);
    layout->addStretch();
    return tab;
}

QWidget *frmUpdateORRecord::precautionTab()
{
    m_precautionBox = new QGroupBox(QStringLiteral("Infection Control"));
    auto *layout = new QVBoxLayout(m_precautionBox);
    layout->addWidget(new QLabel(QStringLiteral("Please select one precaution control below.")));
    m_precaution = new QButtonGroup(m_precautionBox);
    return m_precautionBox;
}

bool frmUpdateORRecord::open(const QString &idNum)
{
    if (!m_presenter.open(idNum))
        return false;
    // The hospital's precautions, each in its colour.
    for (QAbstractButton *b : m_precaution->buttons())
        delete b;
    auto *layout = static_cast<QVBoxLayout *>(m_precautionBox->layout());
    int i = 0;
    for (const Precaution &p : m_presenter.precautions()) {
        auto *option = new QRadioButton(p.caption);
        option->setObjectName(QStringLiteral("optPrecaution(%1)").arg(i));
        option->setProperty("precautionId", p.id);
        option->setStyleSheet(
            QStringLiteral("QRadioButton { background-color: %1; }").arg(colorName(p.color)));
        m_precaution->addButton(option, i++);
        layout->addWidget(option);
    }
    layout->addStretch();
    show(m_presenter.record());
    return true;
}

void frmUpdateORRecord::show(const OutpatientRecord &r)
{
    m_hospNum->setText(r.hospNum);
    m_idNum->setText(r.idNum);
    m_erNum->setText(r.erNum);
    m_lastName->setText(r.lastName);
    m_firstName->setText(r.firstName);
    m_middleName->setText(r.middleName);
    m_birthDate->setText(r.birthDate.toString(QStringLiteral("MM/dd/yyyy")));
    choose(m_sex, r.sex.startsWith(u'M', Qt::CaseInsensitive)   ? 0
                  : r.sex.startsWith(u'F', Qt::CaseInsensitive) ? 1
                                                                : -1);
    m_admDate->setDate(r.admitted.date());
    m_admTime->setTime(r.admitted.time());
    m_dcrDate->setText(r.discharged.isValid() ? r.discharged.toString(QStringLiteral("MM/dd/yyyy"))
                                              : QString());
    m_dcrTime->setTime(r.discharged.isValid() ? r.discharged.time()
                                              : m_session.db().serverNow().time());
    choose(m_type, r.erNum.isEmpty() ? 0 : 1);
    choose(m_category, r.category - 1);
    const QStringList classes =
        OutpatientResult::erClassifications(m_session.settings.ShowReferredACC());
    choose(m_erClass, int(classes.indexOf(r.erClassification)));
    for (int i = 0; i < m_erProcedures.size(); ++i) {
        const QString code = QString::number(i + 1);
        m_erProcedures.at(i)->setChecked(
            std::find(r.erProcedures.begin(), r.erProcedures.end(), code) != r.erProcedures.end());
    }
    choose(m_condition, r.condition - 1);
    m_disposition->setCurrentIndex(
        std::max(0, int(OutpatientResult::dispositions().indexOf(r.disposition)) + 1));
    const auto fill = [this](QList<CodeField> &fields, const auto &codes, QStringView kind) {
        for (int i = 0; i < fields.size(); ++i) {
            const QString &code = codes[std::size_t(i)];
            fields[i].code->setText(code);
            fields[i].name->setText(m_presenter.nameOf(kind, code));
        }
    };
    fill(m_services, r.services, u"service");
    fill(m_doctors, r.doctors, u"doctor");
    fill(m_diagnoses, r.diagnoses, u"icd");
    fill(m_chiefIds, r.chiefComplaintIds, u"complaint");
    m_findings->setPlainText(r.findings);
    m_medications->setPlainText(r.medications);
    m_chiefComplaints->setPlainText(r.chiefComplaints);
    m_briefHistory->setPlainText(r.briefHistory);
    m_remarks->setPlainText(r.remarks);
    m_diet.code->setText(r.dietId);
    m_diet.name->setText(m_presenter.nameOf(u"diet", r.dietId));
    m_referredTo->setText(r.referredTo);
    m_reason->setPlainText(r.reasonOfReferral);
    const QDateTime now = m_session.db().serverNow();
    m_transferred->setChecked(r.transferred.isValid());
    m_transferDate->setDate(r.transferred.isValid() ? r.transferred.date() : now.date());
    m_transferTime->setTime(r.transferred.isValid() ? r.transferred.time() : now.time());
    choose(m_deathType, int(OutpatientResult::deathTypes().indexOf(r.death.type)));
    m_expiredDate->setDate(r.death.expired.isValid() ? r.death.expired.date() : now.date());
    m_expiredTime->setTime(r.death.expired.isValid() ? r.death.expired.time() : now.time());
    m_releasedDate->setDate(r.death.released.isValid() ? r.death.released.date() : now.date());
    m_releasedTime->setTime(r.death.released.isValid() ? r.death.released.time() : now.time());
    m_funeralParlor->setText(r.death.funeralParlor);
    int precaution = -1;
    for (QAbstractButton *b : m_precaution->buttons()) {
        if (b->property("precautionId").toString() == r.precautionId)
            precaution = m_precaution->id(b);
    }
    choose(m_precaution, precaution);
}

void frmUpdateORRecord::collect()
{
    OutpatientRecord &r = m_presenter.record();
    m_presenter.setDischargeDate(m_dcrDate->text(), m_dcrTime->time());
    r.category = m_category->checkedId() + 1;
    const QStringList classes =
        OutpatientResult::erClassifications(m_session.settings.ShowReferredACC());
    r.erClassification = classes.value(m_erClass->checkedId());
    r.erProcedures = {};
    std::size_t slot = 0;
    for (int i = 0; i < m_erProcedures.size() && slot < r.erProcedures.size(); ++i) {
        if (m_erProcedures.at(i)->isChecked())
            r.erProcedures[slot++] = QString::number(i + 1);
    }
    r.condition = m_condition->checkedId() + 1;
    r.disposition = m_disposition->currentText();
    r.findings = m_findings->toPlainText();
    r.medications = m_medications->toPlainText();
    r.chiefComplaints = m_chiefComplaints->toPlainText();
    r.briefHistory = m_briefHistory->toPlainText();
    r.remarks = m_remarks->toPlainText();
    r.referredTo = m_referredTo->text().trimmed();
    r.reasonOfReferral = m_reason->toPlainText();
    r.transferred = m_transferred->isChecked()
                        ? QDateTime(m_transferDate->date(), m_transferTime->time())
                        : QDateTime();
    r.death.type = OutpatientResult::deathTypes().value(m_deathType->checkedId());
    r.death.expired = QDateTime(m_expiredDate->date(), m_expiredTime->time());
    r.death.released = QDateTime(m_releasedDate->date(), m_releasedTime->time());
    r.death.funeralParlor = m_funeralParlor->text().trimmed();
    QAbstractButton *precaution = m_precaution->checkedButton();
    r.precautionId = precaution ? precaution->property("precautionId").toString() : QString();
}

bool frmUpdateORRecord::save()
{
    // A code typed but not yet left is looked up first, as leaving the field does.
    for (QList<CodeField> *fields : {&m_services, &m_doctors, &m_diagnoses, &m_chiefIds}) {
        for (const CodeField &f : std::as_const(*fields)) {
            if (f.code->isModified())
                Q_EMIT f.code->editingFinished();
        }
    }
    if (m_diet.code->isModified())
        Q_EMIT m_diet.code->editingFinished();
    collect();
    return m_presenter.save();
}

} // namespace kestrel
