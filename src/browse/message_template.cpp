#include "browse/message_template.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace velmor {

namespace {

constexpr std::string_view kTemplateFileName = "Test.eml";
// The private directory of one process's template below the temporary directory.
constexpr char kDirectoryPattern[] = "velmor-XXXXXX";
constexpr mode_t kTemplateMode = 0600;

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

std::mutex templateMutex;
// The private directory made for the template, empty while there is none, and the temporary
// directory it was made in.
std::filesystem::path templateDirectory;
std::filesystem::path templateParent;
// The template file last written, kept after it was deleted.
std::filesystem::path templatePath;

std::filesystem::path TemporaryDirectory() {
    std::error_code error;
    std::filesystem::path directory = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : directory;
}

void RemoveTemplateAndDirectory() {
    if (!templateDirectory.empty()) {
        ::unlink((templateDirectory / kTemplateFileName).c_str());
        ::rmdir(templateDirectory.c_str());
        templateDirectory.clear();
    }
}

// The process's private directory in the temporary directory, made when missing (or when the
// temporary directory changed); false when it cannot be made.
bool HavePrivateDirectory() {
    const std::filesystem::path temporary = TemporaryDirectory();
    struct stat info {};
    if (!templateDirectory.empty() && templateParent == temporary &&
        ::lstat(templateDirectory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::geteuid()) {
        return true;
    }
    RemoveTemplateAndDirectory();
    std::string pattern = (temporary / kDirectoryPattern).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return false;
    }
    templateDirectory = pattern;
    templateParent = temporary;
    // A process that ends without deleting the template (an error exit) leaves no directory.
    static const bool removedAtExit = std::atexit(DeleteMessageTemplate) == 0;
    (void)removedAtExit;
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

std::filesystem::path MessageTemplatePath() {
    const std::lock_guard lock(templateMutex);
    return templatePath;
}

// The file goes into a directory that only this process made and can write, and is created
// anew without following links, so that no other file is ever truncated or replaced and two
// running programs keep their own templates.
void WriteMessageTemplate() {
    const std::lock_guard lock(templateMutex);
    if (!HavePrivateDirectory()) {
        return;
    }
    const std::filesystem::path path = templateDirectory / kTemplateFileName;
    ::unlink(path.c_str());
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kTemplateMode);
    if (fd < 0) {
        return;
    }
    templatePath = path;
    const bool written = WriteAll(fd, kTemplate);
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
    }
}

void DeleteMessageTemplate() {
    const std::lock_guard lock(templateMutex);
    RemoveTemplateAndDirectory();
}

std::string_view MessageTemplateText() {
    return kTemplate;
}

}  // namespace velmor
