#include "browse/message_template.h"

#include <fstream>

namespace velmor {

namespace {

constexpr std::string_view kTemplateFileName = "Test.eml";

constexpr std::string_view kTemplate =
    "From: \"Unknown\" <sender@example.com>\r\n"
    "To: <recipient@example.com>\r\n"
    "Subject: \r\n"
    "Date: Thu, 4 Oct 2007 13:39:07 +0530\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/alternative;\r\n"
    "\tboundary=\"----=_NextPart_000_0003_01C8068B.EFE915B0\"\r\n"
    "X-Priority: 3\r\n"
    "X-MSMail-Priority: Normal\r\n"
    "X-Mailer: Microsoft Outlook Express 6.00.2900.2180\r\n"
    "X-MimeOLE: Produced By Microsoft MimeOLE V6.00.2900.2180\r\n"
    "\r\n"
    "This is a multi-part message in MIME format.\r\n"
    "\r\n"
    "------=_NextPart_000_0003_01C8068B.EFE915B0\r\n"
    "Content-Type: text/plain;\r\n"
    "\tcharset=\"iso-8859-1\"\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "\r\n"
    "------=_NextPart_000_0003_01C8068B.EFE915B0\r\n"
    "Content-Type: text/html;\r\n"
    "\tcharset=\"iso-8859-1\"\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "<!DOCTYPE HTML PUBLIC \"-\r\n"
    "<HTML><HEAD>\r\n"
    "<META http-equiv=3DContent-Type content=3D\"text/html; =\r\n"
    "charset=3Diso-8859-1\">\r\n"
    "<META content=3D\"MSHTML 6.00.2900.2180\" name=3DGENERATOR>\r\n"
    "<STYLE></STYLE>\r\n"
    "</HEAD>\r\n"
    "<BODY bgColor=3D#ffffff>\r\n"
    "<DIV>&nbsp;</DIV></BODY></HTML>\r\n"
    "\r\n"
    "------=_NextPart_000_0003_01C8068B.EFE915B0--";

}  // namespace

std::filesystem::path MessageTemplatePath() {
    std::error_code error;
    std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    if (error) {
        directory = "/tmp";
    }
    return directory / kTemplateFileName;
}

void WriteMessageTemplate() {
    std::ofstream out(MessageTemplatePath(), std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(kTemplate.data(), static_cast<std::streamsize>(kTemplate.size()));
    }
}

void DeleteMessageTemplate() {
    std::error_code error;
    std::filesystem::remove(MessageTemplatePath(), error);
}

std::string_view MessageTemplateText() {
    return kTemplate;
}

}  // namespace velmor
