// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/LoginDialog.h"

#include "core/ui/KeyFilter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace kestrel {

namespace {

const QString kSettingsGroup = QStringLiteral("login");

QLineEdit *lineEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

LoginDialog::LoginDialog(QWidget *parent)
    : QDialog(parent)
{
    buildUi();
    bind();
    restoreChoice();
}

LoginDialog::~LoginDialog() = default;

void LoginDialog::buildUi()
{
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("Kestrel - Operating Room Login"));
    setModal(true);

    m_heading = new QLabel(QStringLiteral("Operating Room"), this);
    m_heading->setObjectName(QStringLiteral("lblHeading"));
    QFont big = m_heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_heading->setFont(big);

    // Where the hospital's data is.
    m_databaseRow = new QWidget(this);
    auto *databaseForm = new QFormLayout(m_databaseRow);
    databaseForm->setContentsMargins(0, 0, 0, 0);
    m_database = new QComboBox(m_databaseRow);
    m_database->setObjectName(QStringLiteral("cboDatabase"));
    m_database->addItem(QStringLiteral("Embedded demo hospital"), int(LoginSource::Embedded));
    m_database->addItem(QStringLiteral("PostgreSQL server"), int(LoginSource::Server));
    databaseForm->addRow(QStringLiteral("&Database:"), m_database);

    m_serverFields = new QWidget(this);
    m_serverFields->setObjectName(QStringLiteral("fraServer"));
    auto *serverForm = new QFormLayout(m_serverFields);
    serverForm->setContentsMargins(0, 0, 0, 0);
    m_host = lineEdit(QStringLiteral("txtServerHost"), m_serverFields);
    m_port = lineEdit(QStringLiteral("txtServerPort"), m_serverFields);
    m_port->setText(QStringLiteral("5432"));
    m_port->setMaxLength(5);
    installDigitsOnly(m_port);
    m_databaseName = lineEdit(QStringLiteral("txtServerDatabase"), m_serverFields);
    m_user = lineEdit(QStringLiteral("txtServerUser"), m_serverFields);
    m_serverPassword = lineEdit(QStringLiteral("txtServerPassword"), m_serverFields);
    m_serverPassword->setEchoMode(QLineEdit::Password);
    serverForm->addRow(QStringLiteral("&Server:"), m_host);
    serverForm->addRow(QStringLiteral("P&ort:"), m_port);
    serverForm->addRow(QStringLiteral("Database &name:"), m_databaseName);
    serverForm->addRow(QStringLiteral("&User:"), m_user);
    serverForm->addRow(QStringLiteral("Server pass&word:"), m_serverPassword);

    // Who logs in.
    m_codeRow = new QWidget(this);
    auto *codeForm = new QFormLayout(m_codeRow);
    codeForm->setContentsMargins(0, 0, 0, 0);
    m_code = lineEdit(QStringLiteral("txtEmployeeCode"), m_codeRow);
    m_code->setMaxLength(20);
    installUpperCase(m_code);
    codeForm->addRow(QStringLiteral("&Employee code:"), m_code);

    auto *passwordRow = new QWidget(this);
    auto *passwordForm = new QFormLayout(passwordRow);
    passwordForm->setContentsMargins(0, 0, 0, 0);
    m_password = lineEdit(QStringLiteral("txtPassword"), passwordRow);
    m_password->setEchoMode(QLineEdit::Password);
    passwordForm->addRow(QStringLiteral("&Password:"), m_password);

    // A new password is typed twice.
    m_confirmRow = new QWidget(this);
    auto *confirmForm = new QFormLayout(m_confirmRow);
    confirmForm->setContentsMargins(0, 0, 0, 0);
    m_confirm = lineEdit(QStringLiteral("txtConfirmPassword"), m_confirmRow);
    m_confirm->setEchoMode(QLineEdit::Password);
    confirmForm->addRow(QStringLiteral("&Again:"), m_confirm);
    m_confirmRow->hide();

    m_refusal = new QLabel(this);
    m_refusal->setObjectName(QStringLiteral("lblRefusal"));
    m_refusal->setWordWrap(true);
    m_refusal->setStyleSheet(QStringLiteral("color: #c00000;"));
    m_refusal->hide();

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = m_buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addSpacing(6);
    layout->addWidget(m_databaseRow);
    layout->addWidget(m_serverFields);
    layout->addSpacing(6);
    layout->addWidget(m_codeRow);
    layout->addWidget(passwordRow);
    layout->addWidget(m_confirmRow);
    layout->addWidget(m_refusal);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Enter moves on through these; in the password it logs in.
    for (QLineEdit *edit :
         {m_host, m_port, m_databaseName, m_user, m_serverPassword, m_code, m_password})
        edit->installEventFilter(this);
    setTabOrder(m_database, m_host);
    setTabOrder(m_host, m_port);
    setTabOrder(m_port, m_databaseName);
    setTabOrder(m_databaseName, m_user);
    setTabOrder(m_user, m_serverPassword);
    setTabOrder(m_serverPassword, m_code);
    setTabOrder(m_code, m_password);
}

void LoginDialog::bind()
{
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_database, &QComboBox::currentIndexChanged, this, &LoginDialog::updateServerFields);
}

bool LoginDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_code)
                m_password->setFocus(Qt::TabFocusReason);
            else if (watched == m_password && m_confirmRow->isVisibleTo(this))
                m_confirm->setFocus(Qt::TabFocusReason);
            else if (watched == m_password)
                accept();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LoginDialog::updateServerFields()
{
    const bool server = m_database->currentData().toInt() == int(LoginSource::Server);
    m_serverFields->setVisible(server && m_databaseRow->isVisibleTo(this));
}

void LoginDialog::showRefusal(const QString &refusal)
{
    m_refusal->setText(refusal);
    m_refusal->setVisible(!refusal.isEmpty());
}

void LoginDialog::setInstalledServer(const QString &label)
{
    const QString text = QStringLiteral("Hospital server (%1)").arg(label);
    int index = m_database->findData(int(LoginSource::Installed));
    if (index < 0) {
        m_database->addItem(text, int(LoginSource::Installed));
        index = m_database->count() - 1;
    } else {
        m_database->setItemText(index, text);
    }
    m_database->setCurrentIndex(index);
    m_installed = true;
    updateServerFields();
}

void LoginDialog::prepareLogin(const QString &refusal)
{
    // Where IT chose the server, the nurse does not choose.
    m_databaseRow->setVisible(!m_installed);
    m_codeRow->show();
    m_confirmRow->hide();
    m_heading->setText(QStringLiteral("Operating Room"));
    updateServerFields();
    showRefusal(refusal);
    m_password->clear();
    m_ok->setText(QStringLiteral("&Log In"));
    if (m_code->text().trimmed().isEmpty())
        m_code->setFocus(Qt::OtherFocusReason);
    else
        m_password->setFocus(Qt::OtherFocusReason);
}

void LoginDialog::preparePassword(const QString &employeeName, const QString &refusal)
{
    m_databaseRow->hide();
    m_codeRow->hide();
    m_confirmRow->hide();
    m_heading->setText(employeeName);
    updateServerFields();
    showRefusal(refusal);
    m_password->clear();
    m_ok->setText(QStringLiteral("OK"));
    m_password->setFocus(Qt::OtherFocusReason);
}

void LoginDialog::prepareNewPassword(const QString &employeeName, const QString &refusal)
{
    preparePassword(employeeName, refusal);
    m_confirm->clear();
    m_confirmRow->show();
}

LoginRequest LoginDialog::request() const
{
    LoginRequest r;
    r.source = LoginSource(m_database->currentData().toInt());
    if (r.source == LoginSource::Server) {
        r.host = m_host->text().trimmed();
        r.port = m_port->text().toInt();
        r.database = m_databaseName->text().trimmed();
        r.user = m_user->text().trimmed();
        r.serverPassword = m_serverPassword->text();
    }
    r.employeeCode = m_code->text().trimmed();
    r.password = m_password->text();
    return r;
}

std::optional<LoginRequest> LoginDialog::askLogin(const QString &refusal)
{
    prepareLogin(refusal);
    const bool accepted = exec() == QDialog::Accepted;
    std::optional<LoginRequest> answer;
    if (accepted) {
        answer = request();
        rememberChoice();
    }
    m_password->clear();
    return answer;
}

std::optional<QString> LoginDialog::askPassword(const QString &employeeName, const QString &refusal)
{
    preparePassword(employeeName, refusal);
    const bool accepted = exec() == QDialog::Accepted;
    std::optional<QString> answer;
    if (accepted)
        answer = m_password->text();
    m_password->clear();
    return answer;
}

std::optional<QString> LoginDialog::askNewPassword(const QString &employeeName,
                                                   const QString &refusal)
{
    QString shown = refusal;
    std::optional<QString> answer;
    while (!answer) {
        prepareNewPassword(employeeName, shown);
        if (exec() != QDialog::Accepted)
            break;
        if (m_password->text() == m_confirm->text())
            answer = m_password->text();
        else
            shown = QStringLiteral("The two passwords are not the same. Please type them again.");
    }
    m_password->clear();
    m_confirm->clear();
    m_confirmRow->hide();
    return answer;
}

void LoginDialog::restoreChoice()
{
    QSettings settings;
    settings.beginGroup(kSettingsGroup);
    const int source =
        settings.value(QStringLiteral("database"), int(LoginSource::Embedded)).toInt();
    m_database->setCurrentIndex(qMax(0, m_database->findData(source)));
    m_host->setText(settings.value(QStringLiteral("host")).toString());
    m_port->setText(settings.value(QStringLiteral("port"), 5432).toString());
    m_databaseName->setText(settings.value(QStringLiteral("databaseName")).toString());
    m_user->setText(settings.value(QStringLiteral("user")).toString());
    updateServerFields();
}

void LoginDialog::rememberChoice() const
{
    QSettings settings;
    settings.beginGroup(kSettingsGroup);
    // The installation's server is the installation's to keep, not the user's.
    if (!m_installed)
        settings.setValue(QStringLiteral("database"), m_database->currentData().toInt());
    settings.setValue(QStringLiteral("host"), m_host->text().trimmed());
    settings.setValue(QStringLiteral("port"), m_port->text().toInt());
    settings.setValue(QStringLiteral("databaseName"), m_databaseName->text().trimmed());
    settings.setValue(QStringLiteral("user"), m_user->text().trimmed());
}

} // namespace kestrel
