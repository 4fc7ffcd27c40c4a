#include "Registry.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>

namespace {
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("ORVA_REGISTRY_DIR", Dir.filePath("reg").toUtf8().constData(), 1); }
    void TearDown() override { unsetenv("ORVA_REGISTRY_DIR"); }
    QTemporaryDir Dir;
};
} // namespace

TEST_F(RegistryTest, KeysAreCreatedOnlyWhenAsked)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Test", false));
    EXPECT_TRUE(reg.OpenKey("Software\\Test", true));
    TRegistry again;
    EXPECT_TRUE(again.OpenKey("software/test\\", false));
    EXPECT_EQ(NormaliseKeyPath("\\a\\\\b\\"), "a\\b");
}

TEST_F(RegistryTest, ValuesKeepTheirTypeAndRootsAreSeparate)
{
    TRegistry user;
    ASSERT_TRUE(user.OpenKey("K", true));
    user.WriteString("Port", "COM2 with spaces ");
    user.WriteInteger("Size", -5);
    EXPECT_EQ(user.ReadString("Port"), "COM2 with spaces ");
    EXPECT_EQ(user.ReadInteger("Size"), -5);
    EXPECT_EQ(user.GetDataType("Port"), rdString);
    EXPECT_EQ(user.GetDataType("Size"), rdInteger);
    EXPECT_THROW(user.ReadInteger("Port"), ERegistryException);
    EXPECT_THROW(user.ReadString("Size"), ERegistryException);
    EXPECT_THROW(user.ReadInteger("Missing"), ERegistryException);
    EXPECT_EQ(user.ReadString("Missing"), "");

    TRegistry machine;
    machine.RootKey = HKEY_LOCAL_MACHINE;
    EXPECT_FALSE(machine.OpenKey("K", false));
}

TEST_F(RegistryTest, WithoutAnOpenKeyWritesFailAndTextsReadEmpty)
{
    TRegistry reg;
    EXPECT_THROW(reg.WriteString("a", "b"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("a", 1), ERegistryException);
    EXPECT_EQ(reg.ReadString("a"), "");
    EXPECT_TRUE(reg.GetValueNames().empty());
}
