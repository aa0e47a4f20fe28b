#pragma once

#include "edb_writer/store_builder.h"

namespace velmor::testdb {

// A small store for trying the viewer: two mailboxes, each with the usual folders (mail,
// calendar, contacts, tasks, notes, journal and a nested subfolder) and a few items in each;
// the second mailbox's inbox also holds Internet mail whose originals are in the demo's
// streaming file.
StoreBuilder BuildDemoStore();

}  // namespace velmor::testdb
