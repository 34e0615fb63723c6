#pragma once
// The database engine as the program sees it: a default workspace that opens databases by path
// with a connect text "keyword=password".
#include "database.h"

#include <QString>
#include <memory>
#include <vector>

namespace dao {

enum class WorkspaceType { Jet = 2, Odbc = 1 };

class Workspace {
public:
    WorkspaceType type() const { return type_; }
    void setType(WorkspaceType type) { type_ = type; }

    // Opens a database file. connect is "keyword=password"; the text after the first "=" keys
    // the file. Throws jet::DbError for a missing, unreadable, foreign, damaged file or a wrong
    // password. The workspace keeps the database until it or the workspace is closed.
    std::shared_ptr<Database> openDatabase(const QString& path, bool exclusive, bool readOnly,
                                           const QString& connect);
    int databaseCount();  // open databases
    void close();         // closes every database it opened

private:
    WorkspaceType type_ = WorkspaceType::Jet;
    std::vector<std::weak_ptr<Database>> databases_;
};

class Engine {
public:
    static Engine& instance();
    Workspace& defaultWorkspace() { return workspace_; }
    WorkspaceType defaultType() const { return defaultType_; }
    void setDefaultType(WorkspaceType type) { defaultType_ = type; workspace_.setType(type); }

private:
    WorkspaceType defaultType_ = WorkspaceType::Jet;
    Workspace workspace_;
};

// The password part of a connect text: everything after the first "=" ("" when there is none).
QString passwordOf(const QString& connect);

} // namespace dao
