#include "installer/uninstaller_image.h"

#include <gtest/gtest.h>

#include "zip/archive_format.h"
#include "zip/tests/test_zip_builder.h"

namespace installer {
namespace {

using zip::testing::Bytes;

// An installer as the packaging makes it: a program, then the payload.
Bytes Installer() {
  zip::testing::TestArchive archive;
  archive.prefix = zip::testing::HostBytes(900);
  archive.entries = {{.name = "QuimoraWindows18_19.exe", .data = "programa"}, {.name = "datos/"}};
  return zip::testing::BuildZip(archive);
}

zip::TArchiveIntegrity Check(const Bytes& bytes) {
  rt::TMemoryStream stream(bytes);
  return zip::CheckArchiveIntegrity(stream);
}

TEST(UninstallerImage, IsTheProgramWithAnEmptyPayloadThatTheProgramRecognises) {
  const Bytes installer = Installer();
  const zip::TArchiveIntegrity payload = Check(installer);
  ASSERT_TRUE(payload.Whole());
  EXPECT_FALSE(IsUninstallerPayload(payload));
  rt::TMemoryStream program(installer);
  const std::vector<uint8_t> image = UninstallerImage(program, payload);
  ASSERT_EQ(image.size(), 900u + zip::TEndRecord::kSize);
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 900, installer.begin()));
  const zip::TArchiveIntegrity itself = Check(image);
  EXPECT_TRUE(IsUninstallerPayload(itself)) << itself.Detail;

  // A program without any payload is a damaged installer, not an uninstaller.
  EXPECT_FALSE(IsUninstallerPayload(Check(Bytes(installer.begin(), installer.begin() + 900))));
}

TEST(UninstallerImage, LeavesTheSignatureBehindAndNamesNoCertificateTable) {
  const Bytes installer = Installer();
  const Bytes signedInstaller = zip::testing::SignedImage(installer, (8 - installer.size() % 8) % 8);
  const zip::TArchiveIntegrity payload = Check(signedInstaller);
  ASSERT_TRUE(payload.Whole()) << payload.Detail;
  rt::TMemoryStream program(signedInstaller);
  const std::vector<uint8_t> image = UninstallerImage(program, payload);
  rt::TMemoryStream uninstaller(image);
  EXPECT_FALSE(zip::CertificateTable(uninstaller));
  EXPECT_TRUE(IsUninstallerPayload(Check(image)));
}

}  // namespace
}  // namespace installer
