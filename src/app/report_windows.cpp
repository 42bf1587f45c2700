// "(&T)文件打印" on Windows: Word through its automation object, else the program Windows opens
// .doc files with (WPS Office, LibreOffice…), else the message that nothing could open it.
#include <windows.h>

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <QFileInfo>

#include "report.h"

namespace ventora::app {
namespace {

// A BSTR for a call's argument, freed when it goes.
class bstr {
public:
    explicit bstr(const QString& text)
        : value_(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()),
                                     static_cast<UINT>(text.size()))) {}
    ~bstr() { ::SysFreeString(value_); }
    bstr(const bstr&) = delete;
    bstr& operator=(const bstr&) = delete;
    BSTR get() const { return value_; }

private:
    BSTR value_;
};

// Calls `name` on `object` late-bound (IDispatch): a method or a property get or put.
HRESULT invoke(IDispatch* object, WORD kind, const wchar_t* name, VARIANT* args, UINT count, VARIANT* result) {
    DISPID id = 0;
    auto* wide_name = const_cast<LPOLESTR>(name);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &wide_name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS params{args, nullptr, count, 0};
    DISPID put = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

enum class word_result { opened, no_word, failed };

// A new Word.Application: Documents.Open(document), Caption, Visible; every reference released.
word_result open_in_word(const QString& document, const QString& caption) {
    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(L"Word.Application", &clsid))) return word_result::no_word;
    IDispatch* word = nullptr;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&word))))
        return word_result::no_word;

    word_result result = word_result::failed;
    VARIANT documents;
    ::VariantInit(&documents);
    if (SUCCEEDED(invoke(word, DISPATCH_PROPERTYGET, L"Documents", nullptr, 0, &documents)) &&
        documents.vt == VT_DISPATCH && documents.pdispVal != nullptr) {
        const bstr file(document);
        VARIANT arg;
        arg.vt = VT_BSTR;
        arg.bstrVal = file.get();
        VARIANT opened;
        ::VariantInit(&opened);
        if (SUCCEEDED(invoke(documents.pdispVal, DISPATCH_METHOD, L"Open", &arg, 1, &opened))) {
            const bstr title(caption);
            VARIANT text;
            text.vt = VT_BSTR;
            text.bstrVal = title.get();
            invoke(word, DISPATCH_PROPERTYPUT, L"Caption", &text, 1, nullptr);
            VARIANT visible;
            visible.vt = VT_BOOL;
            visible.boolVal = VARIANT_TRUE;
            if (SUCCEEDED(invoke(word, DISPATCH_PROPERTYPUT, L"Visible", &visible, 1, nullptr)))
                result = word_result::opened;
        }
        ::VariantClear(&opened);
    }
    ::VariantClear(&documents);
    // A Word that could not show the document would stay running unseen: end it.
    if (result != word_result::opened) invoke(word, DISPATCH_METHOD, L"Quit", nullptr, 0, nullptr);
    word->Release();
    return result;
}

class windows_word_processor : public word_processor {
public:
    report_failure open_titled_visible(const QString& document, const QString& caption) override {
        if (!QFileInfo(document).isFile()) return report_failure::missing_document;
        // Qt's windows already hold COM on this thread; this only pairs with it.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const word_result word = open_in_word(document, caption);
        if (SUCCEEDED(com)) ::CoUninitialize();
        if (word == word_result::opened) return report_failure::none;
        if (word == word_result::failed) return report_failure::start_refused;
        // No Word: the program the .doc files are associated with. The caption stays its own.
        const auto started = reinterpret_cast<INT_PTR>(
            ::ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(document.utf16()), nullptr,
                            nullptr, SW_SHOWNORMAL));
        if (started > 32) return report_failure::none;
        if (started == SE_ERR_NOASSOC || started == SE_ERR_ASSOCINCOMPLETE) return report_failure::no_word_processor;
        return report_failure::start_refused;
    }
};

}  // namespace

QString report_document_path() { return QStringLiteral("c:\\") + report_file_name; }

void open_report(QWidget* parent) {
    windows_word_processor word;
    open_report(parent, word, report_document_path());
}

}  // namespace ventora::app
