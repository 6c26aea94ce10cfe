// The small exports, byte strings and the binding to the control's module.
#include <dlfcn.h>

#include "ScrivoTest.h"

using namespace scrivotest;

namespace {

TEST(Interface, VersionsAndIdentity) {
    EXPECT_EQ(GET_EXTOBJ_VERSION(), 3);
    EXPECT_STREQ(ScrivoOLE_Version(), "0.1.0");
    std::int32_t slot = 77;
    GET_RTFOPER(&slot);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(ITS_I("scrivoole.dll"), 1);
    EXPECT_EQ(ITS_I("ScrivoOLE.DLL"), 1);
    EXPECT_EQ(ITS_I("ScrivoOLE"), 0);
    EXPECT_EQ(ITS_I("xScrivoOLE.DLL"), 0);
    EXPECT_EQ(ITS_I(nullptr), 0);
}

TEST(Interface, ByteStrings) {
    const char bytes[] = {'a', '\0', 'b'};
    ScrivoString s = ScrivoOLE_AllocString(bytes, 3);
    EXPECT_EQ(ScrivoOLE_StringLength(s), 3u);
    EXPECT_EQ(std::string(s, 3), std::string(bytes, 3));
    EXPECT_EQ(s[3], '\0');
    ScrivoOLE_FreeString(s);
    EXPECT_EQ(ScrivoOLE_StringLength(nullptr), 0u);
    ScrivoOLE_FreeString(nullptr);
    EXPECT_EQ(take(ScrivoOLE_AllocString(nullptr, 5)), "");
}

TEST(Interface, HostNameKeepsAtMost128Bytes) {
    installHooks();
    useRegistry(fixture("classes.reg"));
    TempDir dir;
    const auto file = dir.write("p.bmp", bmpFile(2, 2, [](int, int) { return 0xFFFFFFu; }));
    const std::string spec = "*" + file.string();

    EXPECT_EQ(SET_OBJECTHOSTNAME(std::string(200, 'h').c_str()), 128);
    ScrivoExtensionObject* first = newObject();
    ASSERT_EQ(first->ops->Create(first, spec.c_str()), 1);
    first->ops->Activate(first, 0, 0);
    EXPECT_EQ(SET_OBJECTHOSTNAME("abc"), 3);
    ScrivoExtensionObject* second = newObject();
    ASSERT_EQ(second->ops->Create(second, spec.c_str()), 1);
    second->ops->Activate(second, 0, 0);
    ASSERT_EQ(hooks().launches.size(), 2u);
    EXPECT_EQ(hooks().launches[0].hostDocument, std::string(128, 'h'));
    EXPECT_EQ(hooks().launches[1].hostDocument, "abc");
    EXPECT_EQ(SET_OBJECTHOSTNAME(nullptr), 0);
    SET_OBJECTHOSTNAME("Folium32 Document");
    first->ops->Destroy(first, 1);
    second->ops->Destroy(second, 1);
}

TEST(Interface, IsFileLoadable) {
    TempDir dir;
    const auto file = dir.write("a.txt", "x");
    EXPECT_EQ(IS_FILELOADABLE(file.c_str()), -1);
    EXPECT_EQ(IS_FILELOADABLE((dir.path() / "missing").c_str()), 0);
    EXPECT_EQ(IS_FILELOADABLE(dir.path().c_str()), 0);
    EXPECT_EQ(IS_FILELOADABLE(""), 0);
    EXPECT_EQ(IS_FILELOADABLE(nullptr), 0);
}

TEST(Binding, NewObjectsAfterSetOldCreator) {
    installHooks();
    bind();
    ScrivoExtensionObject* a = New_EXTOBJ(42, 12345, 3);
    ScrivoExtensionObject* b = New_EXTOBJ(43, 0, 3);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->version, 3);
    EXPECT_EQ(a->controlA, 0);
    EXPECT_EQ(a->controlD, 1000);
    EXPECT_EQ(b->id, a->id + 1);
    EXPECT_EQ(a->window, 42u);
    EXPECT_EQ(a->parent, controlWindowObject(42));
    EXPECT_EQ(a->item, nullptr);
    EXPECT_EQ(a->changed, 0);
    EXPECT_EQ(a->updating, 0);
    EXPECT_EQ(New_EXTOBJ(0, 0, 3), nullptr);
    EXPECT_EQ(New_EXTOBJ(42, 0, 2), nullptr);
    EXPECT_EQ(New_EXTOBJ(kUnknownWindow, 0, 3), nullptr);
    EXPECT_TRUE(hooks().errors.empty());
    a->ops->Destroy(a, 1);
    b->ops->Destroy(b, 1);
}

TEST(Binding, SetOldCreatorRefusals) {
    installHooks();
    std::int32_t slot = 9;
    EXPECT_EQ(SET_OLDCREATOR(hostModule(), 1, &slot), 0);
    EXPECT_EQ(slot, 9);
    EXPECT_EQ(hooks().errors, std::vector<std::string>{
                                  "\r\nScrivoOLE SET_OLDCREATOR : old module handler NOT NULL"});

    hooks().errors.clear();
    EXPECT_EQ(SET_OLDCREATOR(nullptr, 0, &slot), 1);
    EXPECT_EQ(hooks().errors,
              std::vector<std::string>{"\r\nNo found SCRIVO_GETHWNDCONTROL in\r\nScrivo40h"});
    EXPECT_EQ(New_EXTOBJ(42, 0, 3), nullptr);
    bind();
}

TEST(Binding, NewObjectWithModuleBindsForOneCallAndReportsAMissingExportOnce) {
    installHooks();
    std::int32_t slot = 0;
    SET_OLDCREATOR(nullptr, 0, &slot);  // unbound
    hooks().errors.clear();
    ScrivoExtensionObject* o = New_EXTOBJEX(hostModule(), 42, 0, 3);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(New_EXTOBJ(42, 0, 3), nullptr);  // the binding was for that call only

    void* other = dlopen("libm.so.6", RTLD_NOW);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(New_EXTOBJEX(other, 42, 0, 3), nullptr);
    ASSERT_EQ(hooks().errors.size(), 1u);
    EXPECT_EQ(hooks().errors[0].rfind("\r\nNo found SCRIVO_GETHWNDCONTROL in\r\n", 0), 0u);
    EXPECT_NE(hooks().errors[0].find("libm"), std::string::npos);
    EXPECT_EQ(New_EXTOBJEX(other, 42, 0, 3), nullptr);
    EXPECT_EQ(hooks().errors.size(), 1u);
    dlclose(other);
    o->ops->Destroy(o, 1);
    bind();
}

TEST(Binding, SlotsOwnedByTheControl) {
    ScrivoExtensionObject* o = newObject();
    const ScrivoExtObjOps& ops = *o->ops;
    EXPECT_EQ(ops.Slot4(o, 1, 2, 3), 0);
    EXPECT_EQ(ops.Slot16(o, 1), 0);
    EXPECT_EQ(ops.Slot17(o, 1, 2, 3, 4), -1);
    EXPECT_EQ(ops.Slot18(o, 1, 2, 3, 4), -1);
    std::int32_t out = 5;
    EXPECT_EQ(ops.Slot19(o, 1, 2, 3, &out), -1);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(ops.Slot20(o, 1, 2, 3), -1);
    EXPECT_EQ(ops.Slot22(o, 4, 4), 1);
    EXPECT_EQ(ops.Slot22(o, 4, 5), 0);
    ops.Slot6(o, 1, 2, 3);
    ops.Slot9(o, 1, 2);
    ops.Slot15(o, 1);
    ops.Slot21(o, 1);
    ops.Slot23(o, 1);
    EXPECT_EQ(o->item, nullptr);
    ops.Destroy(o, 1);
}

}  // namespace
