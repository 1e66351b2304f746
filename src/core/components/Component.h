// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "core/db/Error.h"

#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcComponents)

namespace kestrel {

class CodePickList;
struct CodeListing;
class ListingView;
class LoginPrompt;
class Notifier;
class ProcedureRegistry;

/// What the program hands its companion components when it creates them. Each component
/// keeps a copy; the Notifier and the seams it points to must outlive the components.
struct ComponentContext
{
    explicit ComponentContext(Notifier &notifier)
        : notifier(notifier)
    {
    }

    /// Where components tell the user things, and the shared error box.
    Notifier &notifier;
    /// The login window; without one nobody can log in.
    LoginPrompt *loginPrompt = nullptr;
    /// The code pick-list window; without one the code look-up says it is not available.
    CodePickList *codePickList = nullptr;
    /// The window that shows rows for reading (statements, details).
    ListingView *listingView = nullptr;
    /// The logged-in user's open connection, for the components that are handed only its
    /// connection string or none at all; nullptr before the login.
    std::function<Database *()> sharedConnection;
    /// The folder of the program file.
    QString applicationPath;

    /// Opens (creating it on first use) the embedded demo hospital kept at a path. The
    /// program fills it with the hospital database's own opener; tests open their own copy.
    std::function<Result<std::unique_ptr<Database>>(const QString &path)> openEmbedded;
    /// Where the embedded demo hospital lives on this workstation.
    QString embeddedPath;
    /// The hospital's stored procedures, given to every server connection the login opens.
    std::shared_ptr<const ProcedureRegistry> procedures;

    /// Programmatic names this installation lacks: they cannot be created.
    QStringList missingComponents;
};

/// A companion component: created once by its programmatic name, held until the program
/// ends, and called through its members, which are also reachable by name at run time
/// (properties and invokable methods).
class Component : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString progId READ progId CONSTANT)

public:
    ~Component() override;

    /// The programmatic name it was created by, spelled as registered ("KsUser.clsLoginUser").
    QString progId() const { return m_progId; }

    /// The connection handed over by an Init… member, or nullptr.
    kestrel::Database *connection() const { return m_db; }
    /// The connection string handed over by an Init… member, or "".
    QString connectionString() const { return m_connectionString; }

protected:
    Component(QString progId, const ComponentContext &context, QObject *parent = nullptr);

    const ComponentContext &context() const { return m_context; }
    Notifier &notifier() const { return m_context.notifier; }
    /// Tells the user that the window `what` names is not available yet.
    void tellNotAvailable(const QString &what) const;

    /// The connection to read through: the one handed over, else the logged-in user's (which
    /// the connection string handed over describes); nullptr when there is none.
    kestrel::Database *database() const;
    /// Shows `listing` in the code pick-list; the index of the row picked, or -1.
    int pickRow(const CodeListing &listing) const;
    /// Shows `listing` for reading.
    void showListing(const CodeListing &listing) const;

    /// What the Init… members do: keep the connection; true when there is one.
    bool takeConnection(kestrel::Database *connection);
    /// The same for the connection string the login component describes its connection with.
    bool takeConnection(const QString &connectionString);

private:
    QString m_progId;
    ComponentContext m_context;
    kestrel::Database *m_db = nullptr;
    QString m_connectionString;
};

/// Creates a component from its programmatic name (compared without regard to case, as the
/// platform's registry does). An unknown name, or one the installation lacks, gives nullptr
/// and no error: the window that later needs it fails there.
std::unique_ptr<Component> CreateComponent(const QString &progId, ComponentContext &ctx);

/// Every programmatic name CreateComponent knows, spelled as registered.
QStringList componentProgIds();

/// The text that says a window is not available yet: "<what> is not available yet.".
QString notAvailableText(const QString &what);
/// Tells the user, in an information box, that the window `what` is not available yet.
void tellNotAvailable(Notifier &notifier, const QString &what);

} // namespace kestrel
