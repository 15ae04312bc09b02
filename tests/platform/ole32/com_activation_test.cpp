// CoInitializeEx, CoUninitialize and CoCreateInstance of the machine's registered classes.
#include <windows.h>
#include <msxml2.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

class ComActivationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    void TearDown() override { CoUninitialize(); }
};

} // namespace

TEST(ComApartmentTest, InitialisationCountsPerThreadAndKeepsItsModel) {
    std::thread([] {
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
        EXPECT_EQ(CoInitializeEx(reinterpret_cast<void*>(1), COINIT_MULTITHREADED), E_INVALIDARG);
        CoUninitialize();
        CoUninitialize();
        // Fully uninitialised: the model may change now.
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    }).join();
}

TEST(ComApartmentTest, CreatingNeedsAnInitialisedThread) {
    std::thread([] {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IXMLDOMDocument2, &object),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(object, nullptr);
    }).join();
}

TEST_F(ComActivationTest, EveryDocumentClassCreatesADocument) {
    const CLSID* classes[] = {&CLSID_DOMDocument,   &CLSID_FreeThreadedDOMDocument,
                              &CLSID_DOMDocument26, &CLSID_FreeThreadedDOMDocument26,
                              &CLSID_DOMDocument30, &CLSID_FreeThreadedDOMDocument30,
                              &CLSID_DOMDocument40, &CLSID_FreeThreadedDOMDocument40,
                              &CLSID_DOMDocument60, &CLSID_FreeThreadedDOMDocument60};
    for (const CLSID* clsid : classes) {
        IXMLDOMDocument* document = nullptr;
        ASSERT_EQ(CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                   reinterpret_cast<void**>(&document)),
                  S_OK);
        IXMLDOMDocument2* second = nullptr;
        EXPECT_EQ(document->QueryInterface(IID_IXMLDOMDocument2, reinterpret_cast<void**>(&second)),
                  S_OK);
        EXPECT_EQ(static_cast<IUnknown*>(second), static_cast<IUnknown*>(document));
        second->Release();
        EXPECT_EQ(document->Release(), 0u);
    }
}

TEST_F(ComActivationTest, TheDefaultsFollowTheGeneration) {
    IXMLDOMDocument* three = nullptr;
    IXMLDOMDocument* six = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument30, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(&three)),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(&six)),
              S_OK);
    VARIANT_BOOL resolving = VARIANT_FALSE;
    EXPECT_EQ(three->get_resolveExternals(&resolving), S_OK);
    EXPECT_EQ(resolving, VARIANT_TRUE);
    EXPECT_EQ(six->get_resolveExternals(&resolving), S_OK);
    EXPECT_EQ(resolving, VARIANT_FALSE);
    three->Release();
    six->Release();
}

TEST_F(ComActivationTest, FailuresAnswerTheDocumentedErrors) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(
        CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
        E_INVALIDARG);
    EXPECT_EQ(
        CoCreateInstance(IID_IXMLDOMNode, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(
        CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &object),
        REGDB_E_CLASSNOTREG);
    IUnknown* outer = reinterpret_cast<IUnknown*>(&object);
    EXPECT_EQ(
        CoCreateInstance(CLSID_DOMDocument60, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IClassFactory, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}
