// Telling a disc image from any other file by its volume descriptors.
#include <gtest/gtest.h>

#include "ImageContent.h"
#include "TestEnvironment.h"

namespace {
TEST(ImageContent, SectorSixteenTellsAnImageFromAnyOtherFile) {
    TempFolder folder;
    const auto image = [&](const std::string& identifier, std::size_t bytes = 40 * 2048,
                           const std::string& name = {}) {
        std::string content(bytes, '\x5A');
        if (bytes >= 16 * 2048 + 6) content.replace(16 * 2048, 6, "\x01" + identifier);
        const std::string path = folder.File(name + identifier + std::to_string(bytes));
        WriteFile(path, content);
        return path;
    };
    EXPECT_EQ(ExamineImage(image("CD001")), ImageContent::Iso9660);
    // A name outside Windows' narrow code page is opened by its wide form.
    EXPECT_EQ(ExamineImage(image("CD001", 40 * 2048, "光盘映像")), ImageContent::Iso9660);
    EXPECT_EQ(ExamineImage(image("BEA01")), ImageContent::Udf);
    EXPECT_EQ(ExamineImage(image("NSR03")), ImageContent::Udf);
    EXPECT_EQ(ExamineImage(image("RIFF0")), ImageContent::NotAnImage);
    EXPECT_EQ(ExamineImage(image("CD001", 16 * 2048 + 5)), ImageContent::NotAnImage);
    EXPECT_EQ(ExamineImage(image("CD001", 2048)), ImageContent::NotAnImage);
    EXPECT_EQ(ExamineImage(folder.File("missing.iso")), ImageContent::Unreadable);
}
}  // namespace
