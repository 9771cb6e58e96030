#include "OnLinux.h"
#include "WindowsSituations.h"
#include "support/TempFolder.h"

#include "runtime/Files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <functional>
#include <string>

namespace portolan {
namespace {

using testing::identityOf;
using testing::readBytes;
using testing::runOnLinux;
using testing::TempFolder;
using testing::widePathOf;
using testing::writeBytes;

// The file's owner and access list as the system writes them down (SDDL); empty when it gives none.
std::wstring securityText(const std::string& path) {
    constexpr SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::wstring path16 = widePathOf(path);
    if (::GetNamedSecurityInfoW(path16.c_str(), SE_FILE_OBJECT, parts, nullptr, nullptr, nullptr, nullptr,
                                &descriptor) != ERROR_SUCCESS)
        return {};
    LPWSTR text = nullptr;
    std::wstring security;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text,
                                                               nullptr))
        security = text;
    ::LocalFree(text);
    ::LocalFree(descriptor);
    return security;
}

// Gives the file an access list of its own, which no longer takes the folder's: what it had, and full
// access for everyone. (Wine keeps this as the Linux permission bits 0777.)
bool giveEveryoneFullAccess(const std::string& path) {
    std::wstring path16 = widePathOf(path);
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path16.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &list, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    ::BuildTrusteeWithSidW(&access.Trustee, everyone);
    PACL own = nullptr;
    bool given = ::SetEntriesInAclW(1, &access, list, &own) == ERROR_SUCCESS &&
                 ::SetNamedSecurityInfoW(path16.data(), SE_FILE_OBJECT,
                                         DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                         nullptr, nullptr, own, nullptr) == ERROR_SUCCESS;
    ::LocalFree(own);
    ::LocalFree(descriptor);
    return given;
}

// Gives the file to the Linux user nobody, which Wine shows as another owner. Only root may, under Wine.
bool giveToAnotherOwner(const std::string& path) {
    const std::wstring before = securityText(path);
    return runOnLinux(L"/bin/chown", L"nobody", path, [&] { return securityText(path) != before; });
}

// Saves a file that prepare has set up, once given up and once to the end, and checks that the file keeps
// its security either way: in place when inPlace, else by a new file. False when prepare cannot set the
// file up here.
bool savesKeepingTheSecurity(const std::function<bool(const std::string&)>& prepare, bool inPlace) {
    TempFolder folder;
    const std::string plain = folder.file("plain.ptn");
    const std::string path = folder.file("book.ptn");
    writeBytes(plain, "old content");
    writeBytes(path, "old content");
    if (!prepare(path))
        return false;
    const std::wstring security = securityText(path);
    EXPECT_FALSE(security.empty());
    EXPECT_EQ(security == securityText(plain), !inPlace) << "the file's security is what the case says";
    const auto identity = identityOf(path);
    {
        ReplacingFile file(path);
        file.write("given up", 8);
        file.flush();
    }
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_TRUE(securityText(path) == security);

    ReplacingFile file(path);
    file.write("new", 3);
    file.close();
    EXPECT_EQ(file.fetchError(), 0);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_TRUE(securityText(path) == security);
    EXPECT_EQ(identityOf(path) == identity, inPlace);
    EXPECT_EQ(folder.entryCount(), 2u);
    return true;
}

// A new file made in a file's folder has the folder's security and this user as its owner. A file with
// that security is replaced by one; a file with an access list of its own is rewritten in place and
// keeps it.
TEST(ReplacingFile, AFileWithAnAccessListOfItsOwnIsRewrittenInPlace) {
    {
        SCOPED_TRACE("the folder's security");
        EXPECT_TRUE(savesKeepingTheSecurity([](const std::string&) { return true; }, false));
    }
    SCOPED_TRACE("an access list of its own");
    EXPECT_TRUE(savesKeepingTheSecurity(giveEveryoneFullAccess, true));
}

// A file of another owner is rewritten in place and keeps its owner.
TEST(ReplacingFile, AFileOfAnotherOwnerIsRewrittenInPlace) {
    if (!savesKeepingTheSecurity(giveToAnotherOwner, true))
        GTEST_SKIP() << "no file can be given to another owner here: under Wine only root may";
}

// A file replaced by a new one keeps its attributes (hidden, system). (Its creation time too, on Windows;
// Wine keeps no creation time of its own.)
TEST(ReplacingFile, AReplacedFileKeepsItsAttributes) {
    TempFolder folder;
    const std::string path = folder.file("book.ptn");
    writeBytes(path, "old content");
    const std::wstring path16 = widePathOf(path);
    ASSERT_TRUE(::SetFileAttributesW(path16.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const auto identity = identityOf(path);

    ReplacingFile file(path);
    file.write("new", 3);
    file.close();
    EXPECT_EQ(file.fetchError(), 0);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_FALSE(identityOf(path) == identity) << "a new file took its place";
    EXPECT_EQ(::GetFileAttributesW(path16.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE,
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
}

} // namespace
} // namespace portolan
