#pragma once

#include "edb_writer/store_builder.h"

namespace velmor::testdb {

// A small store for trying the viewer: two mailboxes, each with the usual folders (mail,
// calendar, contacts, tasks, notes, journal and a nested subfolder) and a few items in each.
StoreBuilder BuildDemoStore();

}  // namespace velmor::testdb
