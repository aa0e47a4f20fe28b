// velmor-make-demo OUTPUT: writes the demo store (two mailboxes with folders and items of
// every kind) to OUTPUT, for example Demo.edb, and its streaming file beside it (Demo.stm).
#include <exception>
#include <iostream>

#include "edb_writer/demo_store.h"
#include "program_arguments.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/demo_streaming_file.h"

namespace {
constexpr char kUsage[] =
    "usage: velmor-make-demo OUTPUT\n"
    "Writes the demo store to OUTPUT (Demo.edb, say) and its streaming file beside it.";
}  // namespace

int main(int argc, char** argv) {
    if (const auto answer = velmor::tools::AnswerOptions(argc, argv, kUsage)) {
        return *answer;
    }
    if (argc != 2) {
        std::cerr << kUsage << "\n";
        return 2;
    }
    try {
        const std::filesystem::path database(argv[1]);
        velmor::testdb::BuildDemoStore().WriteTo(database);
        if (!velmor::stm::WriteStreamingFile(
                std::filesystem::path(database).replace_extension(".stm"),
                velmor::stm::DemoStreamingFile())) {
            std::cerr << "velmor-make-demo: the streaming file cannot be written\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "velmor-make-demo: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
