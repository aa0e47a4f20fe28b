// velmor-make-demo OUTPUT: writes the demo store (two mailboxes with folders and items of
// every kind) to OUTPUT, for example Demo.edb.
#include <exception>
#include <iostream>

#include "edb_writer/demo_store.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmor-make-demo OUTPUT\n";
        return 2;
    }
    try {
        velmor::testdb::BuildDemoStore().WriteTo(std::filesystem::path(argv[1]));
    } catch (const std::exception& error) {
        std::cerr << "velmor-make-demo: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
