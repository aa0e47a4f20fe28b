#include "shell/help_document.h"

#include <gtest/gtest.h>

namespace velmor::ui {
namespace {

TEST(HelpDocumentTest, FileNameIsLowerCasedWithoutExeAndEndsInHtml) {
    EXPECT_EQ(HelpDocumentPath("/usr/bin/velmor"), "/usr/bin/velmor.html");
    EXPECT_EQ(HelpDocumentPath("/opt/Velmor/VELMOR.EXE"), "/opt/Velmor/velmor.html");
    EXPECT_EQ(HelpDocumentPath("/opt/Velmor/Velmor.exe"), "/opt/Velmor/velmor.html");
    // Only a trailing ".exe" goes.
    EXPECT_EQ(HelpDocumentPath("/opt/velmor.exe.bin"), "/opt/velmor.exe.bin.html");
}

}  // namespace
}  // namespace velmor::ui
