// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/AssessmentEntry.h"
#include "assessment/ui/frmAssessment.h"
#include "charging/ui/EntryGrid.h"
#include "charging/ui/frmCharge.h"
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/EmbeddedHospital.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "patients/PatientSelection.h"
#include "patients/ui/frmSearch.h"
#include "profile/PatientProfile.h"
#include "profile/results/ui/frmPanicValues.h"
#include "profile/ui/frmFinal.h"
#include "reports/RenderedReport.h"
#include "reports/ReportViewer.h"
#include "reports/ui/frmReportViewer.h"
#include "scheduling/ui/frmCommunicationSchedule.h"
#include "scheduling/ui/frmSchedule.h"
#include "core/components/clsPatientFinder.h"
#include "shell/ui/LoginDialog.h"
#include "core/db/Database.h"
#include "shell/ui/ApplicationShell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <tuple>

using namespace kestrel;

namespace {

// The guided tour logs in as the demo supervisor through the real login window, taking a
// picture of it on the way.
class TourLogin : public LoginPrompt
{
public:
    TourLogin(QDir folder, QStringList &shots)
        : m_folder(std::move(folder))
        , m_shots(shots)
    {
    }

    std::optional<LoginRequest> askLogin(const QString &refusal) override
    {
        if (!refusal.isEmpty()) {
            QTextStream(stderr) << "tour: the demo login was refused: " << refusal << '\n';
            return std::nullopt;
        }
        const auto login = hospitaldb::demoLogins().constFirst();
        m_dialog.prepareLogin(refusal);
        if (auto *code = m_dialog.findChild<QLineEdit *>(QStringLiteral("txtEmployeeCode")))
            code->setText(login.employeeCode);
        if (auto *password = m_dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword")))
            password->setText(login.password);
        m_dialog.show();
        QApplication::processEvents();
        const QString shot = m_folder.filePath(QStringLiteral("01-login.png"));
        if (m_dialog.grab().save(shot))
            m_shots << shot;
        LoginRequest request = m_dialog.request();
        m_dialog.hide();
        return request;
    }
    std::optional<QString> askPassword(const QString &, const QString &) override
    {
        return std::nullopt;
    }

private:
    QDir m_folder;
    QStringList &m_shots;
    LoginDialog m_dialog;
};

// The patient list found by the surname MAGBANUA, which five demo patients share: a billed
// stay in blue, cash-basis patients in red, the rows alternating white and pale blue.
QString patientListShot(ApplicationShell &shell, const QDir &folder)
{
    shell.window().presenter().mnuOpen();
    auto *list = shell.window().workArea()->findChild<frmSearch *>();
    if (!list)
        return {};
    list->presenter().setSearchText(PatientList::LastName, QStringLiteral("MAGBANUA"));
    list->presenter().load();
    // The report viewer was left maximized; the list is shown at its own size.
    auto *sub = qobject_cast<QMdiSubWindow *>(list->parentWidget());
    if (sub) {
        sub->showNormal();
        sub->resize(sub->sizeHint());
        sub->move(0, 0);
    }
    QApplication::processEvents();
    const QString shot = folder.filePath(QStringLiteral("05-patient-list.png"));
    const bool saved = shell.window().grab().save(shot);
    if (sub)
        sub->close();
    return saved ? shot : QString();
}

// The charge window of a demo inpatient the OR has charged before, reached as a nurse reaches
// it: the patient list found by the patient's last name, the stay clicked, "Send Requests /
// Post charges", and the profile's "Post Charges" where the profile stands in between. An
// operation, the surgeon's fee and supplies are typed in and priced, and a medicine is found
// by its name in the drug list. The pick-lists take their first row and every question is
// answered No, as a clerk in a hurry would.
QString chargeWindowShot(ApplicationShell &shell, const QDir &folder)
{
    Session &session = shell.session();
    auto stay = session.db().selectOne(
        u"select L.IDNum, L.HospNum, P.AdmittingDr, M.LastName from STATION..tbNurseLogBook L "
        u"inner join PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum "
        u"inner join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
        u"where L.StationID = 'OR' and L.RecordStatus = '' and P.BillingDate is null "
        u"and P.DcrDate is null "
        u"order by L.IDNum limit 1");
    if (!stay || !*stay)
        return {};
    shell.window().presenter().mnuOpen();
    auto *list = shell.window().workArea()->findChild<frmSearch *>();
    if (!list)
        return {};
    PatientList &patients = list->presenter();
    patients.setSearchText(PatientList::LastName, (*stay)->trimmed(u"LastName"));
    patients.load();
    int row = 1;
    while (row < patients.grid().gridRows() &&
           patients.grid().text(row, PatientGrid::AdmissionNumber) != (*stay)->trimmed(u"IDNum"))
        ++row;
    if (row >= patients.grid().gridRows() || !patients.select(row))
        return {};
    patients.openLink(2);
    if (!shell.window().workArea()->findChild<frmCharge *>()) {
        // The profile opened on its requests tab: its "Post Charges" button opens the window.
        for (auto *button : shell.window().workArea()->findChildren<QAbstractButton *>()) {
            if (button->isVisible() && button->text().remove(u'&').contains(u"Post Charges")) {
                button->click();
                break;
            }
        }
    }

    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            QAbstractButton *no = box->button(QMessageBox::No);
            (no ? no : box->button(QMessageBox::Ok))->click();
        } else if (modal) {
            if (auto *pick = modal->findChild<QPushButton *>(QStringLiteral("cmdSelect")))
                pick->click();
            // The surgeon's fee: the one the window offers first, taken as Enter takes it.
            if (auto *fees = modal->findChild<QTableWidget *>(QStringLiteral("mshFlexDoctorsFee")))
                Q_EMIT fees->activated(fees->currentIndex().isValid() ? fees->currentIndex()
                                                                      : fees->model()->index(0, 0));
        }
    });
    answers.start(150);

    auto *charge = shell.window().workArea()->findChild<frmCharge *>();
    if (!charge)
        return {};
    ChargeEntry &entry = charge->presenter();
    const QString surgeon = (*stay)->trimmed(u"AdmittingDr");
    const QList<std::tuple<QString, QString, QString>> lines{
        {QStringLiteral("OR"), QStringLiteral("OR1013"), QStringLiteral("1")},
        {QStringLiteral("MD"), surgeon, QStringLiteral("1")},
        {QStringLiteral("CS"), QStringLiteral("CS3004"), QStringLiteral("4")},
        {QStringLiteral("CS"), QStringLiteral("CS3006"), QStringLiteral("2")},
        {QStringLiteral("PH"), QStringLiteral("LIDOCAINE"), QStringLiteral("1")}};
    row = 0;
    for (const auto &[department, item, quantity] : lines) {
        ++row;
        entry.acceptCell({row, ChargeEntryLine::Department}, department);
        entry.acceptCell({row, ChargeEntryLine::Item}, item);
        entry.acceptCell({row, ChargeEntryLine::Quantity}, quantity);
    }
    answers.stop();
    charge->entryGrid().editCell({row + 1, ChargeEntryLine::Department});
    if (auto *sub = qobject_cast<QMdiSubWindow *>(charge->parentWidget()))
        sub->showMaximized();
    QApplication::processEvents();
    const QString shot = folder.filePath(QStringLiteral("06-charge-window.png"));
    return shell.window().grab().save(shot) ? shot : QString();
}

// The charge slip of the lines typed into the charge window, posted as a nurse posts them:
// "&Save", Yes to the confirmation, the scrub nurse signs with her code and password, the
// surgeon of the stay is picked as the requesting doctor, and the slip goes on blank paper.
// A window of the work area shown maximized and saved as a picture, then closed.
QString workAreaShot(ApplicationShell &shell, QWidget *window, const QDir &folder,
                     const QString &file)
{
    auto *sub = window ? qobject_cast<QMdiSubWindow *>(window->parentWidget()) : nullptr;
    if (!sub)
        return {};
    sub->showMaximized();
    QApplication::processEvents();
    const QString shot = folder.filePath(file);
    const bool saved = shell.window().grab().save(shot);
    sub->close();
    return saved ? shot : QString();
}

// The schedule board on the busiest day of the fortnight around today, and the wards'
// requests waiting for the OR.
QStringList scheduleShots(ApplicationShell &shell, const QDir &folder)
{
    QStringList shots;
    auto busiest = shell.session().db().selectOne(
        u"select ScheduleDate, count(*) as Operations from SCHEDULE..tbORScheduleDetails "
        u"where RecordStatus = 'C' and ScheduleDate >= :from and ScheduleDate < :to "
        u"group by ScheduleDate order by count(*) desc, ScheduleDate limit 1",
        {{QStringLiteral("from"), QDate::currentDate().addDays(-7).startOfDay()},
         {QStringLiteral("to"), QDate::currentDate().addDays(8).startOfDay()}});
    WindowRequest request;
    request.command = QStringLiteral("mnuSchedule");
    request.caption = QStringLiteral("Schedule of Operations");
    shell.window().presenter().openWindow(QStringLiteral("frmSchedule"), request);
    if (auto *board = shell.window().workArea()->findChild<frmSchedule *>()) {
        if (busiest && *busiest)
            board->presenter().showDay((*busiest)->dateTime(u"ScheduleDate").date(), false);
        const QString shot =
            workAreaShot(shell, board, folder, QStringLiteral("08-schedule-board.png"));
        if (!shot.isEmpty())
            shots << shot;
    }
    request.command = QStringLiteral("cmdRequestSched");
    request.caption = QStringLiteral("Requests for Operation Schedule");
    shell.window().presenter().openWindow(QStringLiteral("frmCommunicationSchedule"), request);
    if (auto *requests = shell.window().workArea()->findChild<frmCommunicationSchedule *>()) {
        const QString shot =
            workAreaShot(shell, requests, folder, QStringLiteral("09-schedule-requests.png"));
        if (!shot.isEmpty())
            shots << shot;
    }
    return shots;
}

// The profile of the stay the tour charged, on its vital-signs tab with the trend chart beside
// the readings, and the laboratory results with panic values that the alert button opens.
QStringList profileShots(ApplicationShell &shell, const QDir &folder)
{
    QStringList shots;
    if (auto *profile = shell.window().workArea()->findChild<frmFinal *>()) {
        if (auto *tabs = profile->findChild<QTabWidget *>(QStringLiteral("SSTab1")))
            tabs->setCurrentIndex(PatientProfile::VitalSignsTab);
        const QString shot =
            workAreaShot(shell, profile, folder, QStringLiteral("10-profile-vital-signs.png"));
        if (!shot.isEmpty())
            shots << shot;
    }
    shell.window().presenter().cmdPanicLab();
    if (auto *panic = shell.window().workArea()->findChild<frmPanicValues *>()) {
        const QString shot =
            workAreaShot(shell, panic, folder, QStringLiteral("11-panic-values.png"));
        if (!shot.isEmpty())
            shots << shot;
    }
    return shots;
}

// Makes the stay `idNum` the current patient, as clicking it in the patient list does.
bool selectStay(ApplicationShell &shell, const QString &idNum)
{
    auto row = shell.session().db().selectOne(
        u"select HospNum from PATIENT_DATA..tbPatient where IdNum = :id",
        {{QStringLiteral("id"), idNum}});
    if (!row || !*row)
        return false;
    PatientSelection selection(
        shell.session(),
        qobject_cast<clsPatientFinder *>(shell.startup().components().patientFinder.get()));
    return selection.SelectPatient((*row)->trimmed(u"HospNum"), idNum, true);
}

// Opens a window as its button or command does and pictures it; a window that opens modally
// is pictured and closed from inside its own loop.
QString openedShot(ApplicationShell &shell, const QString &form, const WindowRequest &request,
                   const QDir &folder, const QString &file)
{
    QString shot;
    QTimer modal;
    modal.setSingleShot(true);
    QObject::connect(&modal, &QTimer::timeout, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            const QString path = folder.filePath(file);
            if (w->grab().save(path))
                shot = path;
            w->close();
        }
    });
    modal.start(700);
    QMdiSubWindow *before = shell.window().workArea()->activeSubWindow();
    shell.window().presenter().openWindow(form, request);
    modal.stop();
    QApplication::processEvents();
    if (!shot.isEmpty())
        return shot;
    QMdiSubWindow *sub = shell.window().workArea()->activeSubWindow();
    return sub && sub != before ? workAreaShot(shell, sub->widget(), folder, file) : QString();
}

QString firstText(ApplicationShell &shell, QStringView sql)
{
    auto value = shell.session().db().scalar(sql);
    return value ? value->toString().trimmed() : QString();
}

// The medicines requested for the charged stay, a medicine returned with its credit memo, an
// operation's record and a discharge order with two case rates, each on a demo stay that has
// them, and the station's discharge notices.
QStringList requestAndRecordShots(ApplicationShell &shell, const QDir &folder)
{
    QStringList shots;
    // Closing a window asks whether to leave it: yes.
    QTimer leave;
    QObject::connect(&leave, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        }
    });
    leave.start(150);
    WindowRequest request;
    request.caption = QStringLiteral("Pharmacy Request Entry");
    request.patient = shell.session().CurrentPatient;
    shots << openedShot(shell, QStringLiteral("frmPHEntry"), request, folder,
                        QStringLiteral("12-pharmacy-request.png"));

    const QString returned = firstText(shell, u"select IDNum from STATION..tbNurseCreditMemo "
                                              u"where CreditMemoNum = 'CMOR900001'");
    if (selectStay(shell, returned)) {
        request = WindowRequest();
        request.caption = QStringLiteral("Post Returned Medicines");
        request.patient = shell.session().CurrentPatient;
        request.values.insert(QStringLiteral("Mode"), QStringLiteral("PH"));
        shots << openedShot(shell, QStringLiteral("frmReturn"), request, folder,
                            QStringLiteral("13-return-window.png"));
    }

    auto record = shell.session().db().selectOne(
        u"select HospNum, IdNum, RefNum, OperatingNum, Procedures from STATION..tbORMasterFile "
        u"order by OperatingNum desc limit 1");
    if (record && *record) {
        const Row &r = **record;
        request = WindowRequest();
        request.caption = QStringLiteral("Operation Procedures Entry");
        request.values = {{QStringLiteral("HospNum"), r.trimmed(u"HospNum")},
                          {QStringLiteral("IdNum"), r.trimmed(u"IdNum")},
                          {QStringLiteral("RefNum"), r.trimmed(u"RefNum")},
                          {QStringLiteral("OperatingNum"), r.value(u"OperatingNum")},
                          {QStringLiteral("ProcedureID"), r.trimmed(u"Procedures")}};
        shots << openedShot(shell, QStringLiteral("frmChart"), request, folder,
                            QStringLiteral("14-or-record.png"));
    }

    const QString ordered = firstText(shell, u"select min(IDNum) from STATION..tbPxICDRVS");
    if (selectStay(shell, ordered)) {
        request = WindowRequest();
        request.caption = QStringLiteral("Discharge Order");
        request.patient = shell.session().CurrentPatient;
        request.values.insert(QStringLiteral("IdNum"), ordered);
        shots << openedShot(shell, QStringLiteral("frmHBPSCaseRate"), request, folder,
                            QStringLiteral("15-discharge-order.png"));
    }

    // The discharge notices of the station, as "&List Discharge Notices" shows them.
    request = WindowRequest();
    request.caption = QStringLiteral("List Discharge Notices");
    shots << openedShot(shell, QStringLiteral("frmDischargeNotice"), request, folder,
                        QStringLiteral("16-discharge-notices.png"));

    // The discharge instructions written for a noticed patient, a misspelt word marked.
    request = WindowRequest();
    request.caption = QStringLiteral("Discharge Instructions and Medications Sheet");
    request.values.insert(QStringLiteral("IdNum"),
                          firstText(shell, u"select min(IDNum) from "
                                           u"STATION..tbNurseDischargeInstructions"));
    shots << openedShot(shell, QStringLiteral("frmDCRInstructionMedicationSheet"), request,
                        folder, QStringLiteral("25-discharge-instructions.png"));

    // A stay whose surgical safety checklist is complete (one answer late), with its nurse's
    // pre-operative checklist.
    const QString checked = firstText(shell, u"select min(C.IdNum) from STATION..tbORSSC C "
                                             u"join STATION..tbNursePreOp P on P.IdNum = C.IdNum "
                                             u"where C.ChkBoxes = '1:;1:;1'");
    if (selectStay(shell, checked)) {
        request = WindowRequest();
        request.caption = QStringLiteral("Nurse Pre-Operative Checklist Entry");
        request.patient = shell.session().CurrentPatient;
        shots << openedShot(shell, QStringLiteral("frmNursePreopChecklist"), request, folder,
                            QStringLiteral("17-preop-checklist.png"));
        request.caption = QStringLiteral("Surgical Safety Checklist");
        shots << openedShot(shell, QStringLiteral("frmSSC"), request, folder,
                            QStringLiteral("18-surgical-safety.png"));
    }

    // A doctor's medication orders to transcribe, and the stay's transcriptions in each state.
    const QString transcribed = firstText(shell, u"select min(IdNum) from "
                                                 u"STATION..tbNurseTranscription "
                                                 u"where RecordStatus = 'R'");
    if (selectStay(shell, transcribed)) {
        request = WindowRequest();
        request.caption = QStringLiteral("PHARMACY TRANSCRIPTION NOTES");
        request.patient = shell.session().CurrentPatient;
        shots << openedShot(shell, QStringLiteral("frmTranscription"), request, folder,
                            QStringLiteral("21-transcription.png"));
        request = WindowRequest();
        request.caption = QStringLiteral("Transcription Status");
        request.values.insert(QStringLiteral("IdNum"), transcribed);
        shots << openedShot(shell, QStringLiteral("frmTranscriptionStatus"), request, folder,
                            QStringLiteral("22-transcription-status.png"));
    }

    // The laboratory's request entry from the profile, on a stay with earlier requests, with
    // three exams typed in (each goes through the request checks as if typed).
    request = WindowRequest();
    request.command = QStringLiteral("frmFinal");
    request.caption = QStringLiteral("Cytology/Surgical Patho Exam");
    request.values = {{QStringLiteral("IdNum"),
                       firstText(shell, u"select IDNum from STATION..tbNurseCommunicationfile "
                                        u"where RequestNum = 'LBD00001'")},
                      {QStringLiteral("Mode"), QStringLiteral("LB")},
                      {QStringLiteral("Codes"),
                       QStringList{QStringLiteral("LB201"), QStringLiteral("LB203"),
                                   QStringLiteral("LB001")}}};
    shots << openedShot(shell, QStringLiteral("frmRequest"), request, folder,
                        QStringLiteral("23-exam-request.png"));
    shots.removeAll(QString());
    return shots;
}

// The first sheet of a printed report, at 120 dots per inch; the page count is printed on it,
// so every page is laid out first.
QString firstPageShot(const RenderedReport &report, const QString &path)
{
    report.finishLayout();
    const QSizeF paper = report.pageSizePoints() * (120.0 / 72.0);
    QImage page(paper.toSize(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    report.paintPage(painter, 0, QRectF(QPointF(0, 0), paper));
    painter.end();
    return page.save(path) ? path : QString();
}

// The walk-in assessment window with two lines typed in, and the slip of the demo's pending
// walk-in assessment reprinted.
QStringList assessmentShots(ApplicationShell &shell, const QDir &folder)
{
    QStringList shots;
    WindowRequest request;
    request.command = QStringLiteral("mnuAssessment");
    request.caption = QStringLiteral("CASH ASSESSMENT ENTRY (WALK-IN PATIENTS)");
    request.values.insert(QStringLiteral("StationID"), QStringLiteral("OR"));
    // Yes to every question, the first item of a pick-list; any other window that asks is
    // closed.
    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            QMetaObject::invokeMethod(yes ? yes : box->button(QMessageBox::Ok),
                                      &QAbstractButton::click, Qt::QueuedConnection);
        } else if (auto *pick = modal ? modal->findChild<QPushButton *>(
                                            QStringLiteral("cmdSelect"))
                                      : nullptr) {
            QMetaObject::invokeMethod(pick, &QAbstractButton::click, Qt::QueuedConnection);
        } else if (modal) {
            QMetaObject::invokeMethod(modal, &QWidget::close, Qt::QueuedConnection);
        }
    });
    answers.start(150);
    shell.window().presenter().openWindow(QStringLiteral("frmAssessmentEntry"), request);
    QApplication::processEvents();
    auto *window = shell.window().workArea()->findChild<frmAssessment *>();
    if (!window)
        return shots;
    AssessmentEntry &entry = window->presenter();
    entry.setPatientName(QStringLiteral("Villaruel, Marites"));
    const QList<std::tuple<QString, QString, QString>> lines{
        {QStringLiteral("OE"), QStringLiteral("OE3003"), QStringLiteral("1")},
        {QStringLiteral("OS"), QStringLiteral("OS2003"), QStringLiteral("2")}};
    int row = 0;
    for (const auto &[department, item, quantity] : lines) {
        ++row;
        entry.acceptCell({row, ChargeEntryLine::Department}, department);
        entry.acceptCell({row, ChargeEntryLine::Item}, item);
        entry.acceptCell({row, ChargeEntryLine::Quantity}, quantity);
    }
    Q_EMIT entry.changed();
    QApplication::processEvents();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        sub->showMaximized();
    QApplication::processEvents();
    const QString picture = folder.filePath(QStringLiteral("19-assessment.png"));
    if (shell.window().grab().save(picture))
        shots << picture;

    const QList<AssessmentSummary> &entered = entry.assessments();
    for (int i = 0; i < entered.size(); ++i) {
        if (entered.at(i).number != u"C900001O")
            continue;
        entry.reprint(i);
        QApplication::processEvents();
        for (auto *viewer : shell.window().workArea()->findChildren<frmReportViewer *>()) {
            if (viewer->presenter().title() == u"Reprint Assessment Slip") {
                const QString slip = firstPageShot(
                    viewer->presenter().report(),
                    folder.filePath(QStringLiteral("20-assessment-slip.png")));
                if (!slip.isEmpty())
                    shots << slip;
                break;
            }
        }
        break;
    }
    answers.stop();
    return shots;
}

// The page the report engine printed is saved as a picture. The tour leaves the demo hospital
// as it found it: the batch is posted inside a transaction that is rolled back once the slip
// is drawn.
QString chargeSlipShot(ApplicationShell &shell, const QDir &folder)
{
    auto *charge = shell.window().workArea()->findChild<frmCharge *>();
    if (!charge || charge->presenter().lines().isEmpty())
        return {};
    ChargeEntry &entry = charge->presenter();
    const QString surgeon = entry.header().admittingDoctor.section(u',', 0, 0).trimmed();
    const QList<hospitaldb::DemoLogin> logins = hospitaldb::demoLogins();
    const auto nurse =
        std::find_if(logins.cbegin(), logins.cend(),
                     [](const hospitaldb::DemoLogin &l) { return l.employeeCode == u"2902"; });
    if (nurse == logins.cend())
        return {};

    // Buttons are pressed from the event loop, not from the timer: the doctor's button opens
    // the doctors' list, which this timer must answer too.
    auto press = [](QWidget *window, const QString &name) {
        if (auto *button = window->findChild<QAbstractButton *>(name))
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    };
    QTimer answers;
    QObject::connect(&answers, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            // Yes to saving; No to the preprinted form, which only fills the boxes of paper
            // the hospital has printed.
            const bool saving = box->text().startsWith(u"Please verify");
            QAbstractButton *button = box->button(saving ? QMessageBox::Yes : QMessageBox::No);
            QMetaObject::invokeMethod(button ? button : box->button(QMessageBox::Ok),
                                      &QAbstractButton::click, Qt::QueuedConnection);
        } else if (modal->objectName() == u"frmTransaction_UserValidation") {
            auto *code = modal->findChild<QLineEdit *>(QStringLiteral("txtUserID"));
            auto *password = modal->findChild<QLineEdit *>(QStringLiteral("txtAccessCode"));
            if (code && password) {
                code->setText(nurse->employeeCode);
                password->setText(nurse->password);
            }
            press(modal, QStringLiteral("cmdOK"));
        } else if (modal->objectName() == u"frmRequestingDoctor") {
            auto *doctor = modal->findChild<QLineEdit *>(QStringLiteral("txtRequestingDoctor"));
            if (doctor && doctor->text().isEmpty()) {
                doctor->setText(surgeon);
                press(modal, QStringLiteral("cmdReqDoc"));
            } else {
                press(modal, QStringLiteral("cmdOK"));
            }
        } else {
            press(modal, QStringLiteral("cmdSelect"));
        }
    });

    // The stay's credit line has room left for the operation and the supplies but not for the
    // surgeon's fee, which the save would refuse: the fee line is taken off (F3) first.
    for (int row = int(entry.lines().size()); row >= 1; --row) {
        if (entry.lines().at(row - 1).line.department == u"MD")
            entry.removeLine(row);
    }

    Transaction undo = shell.session().db().transaction();
    if (!undo.isActive())
        return {};
    answers.start(150);
    entry.save();
    answers.stop();
    QString shot;
    for (auto *viewer : shell.window().workArea()->findChildren<frmReportViewer *>()) {
        if (viewer->presenter().title() != u"Print ChargeSlip")
            continue;
        shot = firstPageShot(viewer->presenter().report(),
                             folder.filePath(QStringLiteral("07-charge-slip.png")));
        break;
    }
    undo.rollback();
    return shot;
}

int check(const QString &path)
{
    auto db = hospitaldb::openEmbeddedHospital(path);
    if (!db) {
        QTextStream(stderr) << db.error().message << '\n';
        return 1;
    }
    auto patients = (*db)->scalar(u"select count(*) from PATIENT_DATA..tbMaster");
    auto now = (*db)->loadServerDate();
    QTextStream(stdout) << "Kestrel " << QApplication::applicationVersion() << '\n'
                        << "Hospital database: " << path << '\n'
                        << "Patients: "
                        << (patients ? patients->toString() : patients.error().message) << '\n';
    return patients && now ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kestrel, the Operating Room workstation."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption database(QStringLiteral("database"),
                                QStringLiteral("The embedded demo hospital file to use."),
                                QStringLiteral("file"), hospitaldb::defaultEmbeddedHospitalPath());
    QCommandLineOption checkOption(QStringLiteral("check"),
                                   QStringLiteral("Open the demo hospital, report it and quit."));
    QCommandLineOption tour(QStringLiteral("tour"),
                            QStringLiteral("Walk through the program as the demo supervisor and "
                                           "save a picture of each window into a folder."),
                            QStringLiteral("folder"));
    parser.addOptions({database, checkOption, tour});
    parser.process(app);

    if (parser.isSet(checkOption))
        return check(parser.value(database));

    ApplicationShell::Options options;
    options.openEmbedded = [](const QString &path) {
        return hospitaldb::openEmbeddedHospital(path);
    };
    options.embeddedPath = parser.value(database);
    options.procedures = hospitaldb::hospitalProcedures();

    QStringList shots;
    std::unique_ptr<TourLogin> tourLogin;
    QDir tourFolder;
    if (parser.isSet(tour)) {
        tourFolder = QDir(parser.value(tour));
        tourFolder.mkpath(QStringLiteral("."));
        tourLogin = std::make_unique<TourLogin>(tourFolder, shots);
        options.loginPrompt = tourLogin.get();
        // The tour may run beside a copy of the program the user has open.
        options.lockFolder = tourFolder.absolutePath();
    }

    ApplicationShell shell(std::move(options));
    QObject::connect(&shell, &ApplicationShell::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (shell.start() != Startup::Outcome::Running)
        return 1;

    if (parser.isSet(tour)) {
        shell.window().resize(1280, 900);
        QTimer::singleShot(1200, &app, [&] {
            const QString shot = tourFolder.filePath(QStringLiteral("02-main-window.png"));
            if (shell.window().grab().save(shot))
                shots << shot;
            // The audit report of the last month, asked for as a clerk does: the menu, the
            // period prompt, OK.
            QTimer::singleShot(400, &app, [&] {
                QWidget *prompt = QApplication::activeModalWidget();
                if (!prompt)
                    return;
                if (auto *from = prompt->findChild<QDateEdit *>(QStringLiteral("dtpFrom")))
                    from->setDate(from->date().addMonths(-1));
                const QString promptShot =
                    tourFolder.filePath(QStringLiteral("03-report-period.png"));
                if (prompt->grab().save(promptShot))
                    shots << promptShot;
                if (auto *ok = prompt->findChild<QAbstractButton *>(QStringLiteral("cmdOK(0)")))
                    ok->click();
            });
            shell.window().presenter().mnuAudit();
            // The viewer shows page 1 while it lays out the rest; the picture waits for the
            // page count.
            if (auto *viewer = shell.window().workArea()->findChild<frmReportViewer *>())
                viewer->presenter().finishLayout();
            QApplication::processEvents();
            const QString viewerShot = tourFolder.filePath(QStringLiteral("04-report-viewer.png"));
            if (shell.window().grab().save(viewerShot))
                shots << viewerShot;
            if (auto *viewer = shell.window().workArea()->findChild<frmReportViewer *>()) {
                const QString pdf = tourFolder.filePath(QStringLiteral("04-audit-report.pdf"));
                if (viewer->presenter().report().exportPdf(pdf))
                    shots << pdf;
            }
            const QString listShot = patientListShot(shell, tourFolder);
            if (!listShot.isEmpty())
                shots << listShot;
            const QString chargeShot = chargeWindowShot(shell, tourFolder);
            if (!chargeShot.isEmpty())
                shots << chargeShot;
            const QString slipShot = chargeSlipShot(shell, tourFolder);
            if (!slipShot.isEmpty())
                shots << slipShot;
            shots << scheduleShots(shell, tourFolder);
            shots << profileShots(shell, tourFolder);
            shots << requestAndRecordShots(shell, tourFolder);
            shots << assessmentShots(shell, tourFolder);
            QTextStream out(stdout);
            out << "Tour pictures:\n";
            for (const QString &s : std::as_const(shots))
                out << "  " << QDir(s).absolutePath() << '\n';
            app.exit(shots.size() == 25 ? 0 : 1);
        });
    }
    return app.exec();
}
