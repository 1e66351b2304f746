// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>

// The lists the demo hospital is drawn from that more than one of its parts reads. Each is kept
// beside the rows it belongs to: the staff with the users, doctors, items, rooms, companies and
// the OR's medicines with the master files, the surgical cases and the reasons for a visit with
// the patients. The longer plain lists are data files under hospitaldb/demo/, built into the
// program as resources.

namespace kestrel::hospitaldb::demo {

/// The rows of the data file `name` of the demo hospital: one row a line, its `fields` fields
/// split at tabs; empty lines and lines that start with # are left out.
QList<QStringList> dataFileRows(const QString &name, int fields);

// ---------------------------------------------------------------------------------------------
// Staff (DemoSettings.cpp).

/// The employee code of the demo hospital's n-th employee: 0 is the OR supervisor, 1 to 8 the
/// rest of the OR's staff, 9 a ward nurse.
QString staffCode(std::size_t n);

// ---------------------------------------------------------------------------------------------
// Master files (DemoMasterFiles.cpp). They do not depend on the seed: only patients and their
// stays do.

struct Doctor
{
    QString id, lastName, firstName, middleName, specialization;
};

const QList<Doctor> &allDoctors();
QStringList doctorsIn(QStringView specialization);

enum class ItemKind { Procedure, Fee, Other };

struct Item
{
    QString code, name, department;
    ItemKind kind;
    qint64 rateA; ///< the ward rate in pesos; the other letters follow from it
};

/// The other-revenue list, OR procedures first.
const QList<Item> &allItems();
const Item &itemByCode(QStringView code);

/// The price of a rate letter, in centavos, as a percentage of the ward rate: F is the charity
/// class, H the HMO rate, I the ER rate. Prices are rounded the way the price list is kept.
qint64 rateCentavos(qint64 rateA, QChar letter);

struct Room
{
    QString id;
    QString description;
    QChar rateClass;
    qint64 rate; // pesos a day
    QString station;
};

QList<Room> hospitalRooms();

struct Company
{
    QStringView account, name, type, address;
};

/// HMOs (11..), companies (21..) and an insurer (31..), in that order.
std::span<const Company> allCompanies();

/// Medicines and agents the OR posts from its own stock, in centavos.
struct OrMedicine
{
    QStringView code, name;
    qint64 centavos;
};

std::span<const OrMedicine> orMedicines();
const OrMedicine &orMedicine(QStringView code);

// ---------------------------------------------------------------------------------------------
// Why patients come (DemoPatients.cpp).

/// Surgical cases: the admitting diagnosis, the operation and who does it.
struct SurgicalCase
{
    QStringView diagnosis, complaint, procedure, specialization;
    QChar sex; ///< 'F' or 'M' when only one sex has this operation, else ' '
    int minAge, maxAge;
    QStringView category;
    int minutes; ///< usual length of the operation
};

std::span<const SurgicalCase> surgicalCases();
bool isHeartCase(const SurgicalCase &c);

struct OutpatientReason
{
    QStringView complaint;
    bool er;
};

std::span<const OutpatientReason> outpatientReasons();

} // namespace kestrel::hospitaldb::demo
