// velmor-make-demo OUTPUT: writes the demo store (two mailboxes with folders and items of
// every kind) to OUTPUT, for example Demo.edb, and its streaming file beside it (Demo.stm).
#include <exception>
#include <fstream>
#include <iostream>

#include "edb_writer/demo_store.h"
#include "stm_writer/demo_streaming_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmor-make-demo OUTPUT\n";
        return 2;
    }
    try {
        const std::filesystem::path database(argv[1]);
        velmor::testdb::BuildDemoStore().WriteTo(database);
        const std::vector<uint8_t> streaming = velmor::stm::DemoStreamingFile();
        std::ofstream out(std::filesystem::path(database).replace_extension(".stm"),
                          std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(streaming.data()),
                  static_cast<std::streamsize>(streaming.size()));
        if (!out) {
            std::cerr << "velmor-make-demo: the streaming file cannot be written\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "velmor-make-demo: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
