// The manifest as the system reads it: from the built program's RT_MANIFEST,
// each element by its namespace, as the XML parser of the system sees it.
#include <windows.h>
#include <msxml2.h>

#include <gtest/gtest.h>

#include "Remote.h"
#include "win32/WideText.h"

namespace quenmar::e2e {
namespace {

// MSXML 3's document and its second interface ({2933BF95-...}, msxml2.h).
const IID kDocument2 = {0x2933BF95, 0x7B36, 0x11d2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::string ManifestOf(const std::string& program) {
    HMODULE module = LoadLibraryExW(win::Wide(program).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string manifest;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {  // RT_MANIFEST
        const void* bytes = LockResource(LoadResource(module, found));
        if (bytes) manifest.assign(static_cast<const char*>(bytes), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return manifest;
}

// Each window drawn for its own monitor's scale: Windows 10 1607 and later
// read dpiAwareness in the 2016 WindowsSettings namespace, older systems
// dpiAware in the 2005 one; an element in another namespace is one Windows
// never reads, and its window is stretched blurry on a monitor of another
// scale.
TEST(Manifest, AsksForEachMonitorsScaleInTheNamespacesWindowsReads) {
    const std::string manifest = ManifestOf(ExeDirectory() + "\\Quenmar.exe");
    ASSERT_FALSE(manifest.empty()) << "Quenmar.exe has no manifest";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    CLSID documentClass{};
    ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(L"Msxml2.DOMDocument.3.0", &documentClass)));
    IXMLDOMDocument2* document = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(documentClass, nullptr, CLSCTX_INPROC_SERVER, kDocument2,
                                           reinterpret_cast<void**>(&document))));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    BSTR text = SysAllocString(win::Wide(manifest.substr(manifest.find('<'))).c_str());
    document->loadXML(text, &loaded);
    SysFreeString(text);
    ASSERT_EQ(loaded, VARIANT_TRUE) << manifest;

    const auto property = [&](const wchar_t* name, const wchar_t* value) {
        VARIANT variant;
        variant.vt = VT_BSTR;
        variant.bstrVal = SysAllocString(value);
        BSTR bstrName = SysAllocString(name);
        document->setProperty(bstrName, variant);
        SysFreeString(bstrName);
        VariantClear(&variant);
    };
    property(L"SelectionLanguage", L"XPath");
    property(L"SelectionNamespaces",
             L"xmlns:v1='urn:schemas-microsoft-com:asm.v1' xmlns:v3='urn:schemas-microsoft-com:asm.v3' "
             L"xmlns:ws2005='http://schemas.microsoft.com/SMI/2005/WindowsSettings' "
             L"xmlns:ws2016='http://schemas.microsoft.com/SMI/2016/WindowsSettings'");
    const auto textAt = [&](const wchar_t* path) -> std::string {
        BSTR query = SysAllocString(path);
        IXMLDOMNode* node = nullptr;
        document->selectSingleNode(query, &node);
        SysFreeString(query);
        if (!node) return "(none)";
        BSTR value = nullptr;
        node->get_text(&value);
        const std::string result = value ? win::Utf8(value) : "";
        SysFreeString(value);
        node->Release();
        return result;
    };
    EXPECT_EQ(textAt(L"/v1:assembly/v3:application/v3:windowsSettings/ws2016:dpiAwareness"), "PerMonitorV2, PerMonitor");
    EXPECT_EQ(textAt(L"/v1:assembly/v3:application/v3:windowsSettings/ws2005:dpiAware"), "true/pm");
    document->Release();
    CoUninitialize();
}

}  // namespace
}  // namespace quenmar::e2e
