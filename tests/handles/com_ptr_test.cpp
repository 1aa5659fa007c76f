// The COM pointer: each owner releases exactly the reference it holds.
#include "handles/com_ptr.h"

#include <gtest/gtest.h>

#include <oaidl.h>
#include <servprov.h>

#include <utility>

namespace {

// An object that counts its references, to see each owner release exactly what it holds.
class CountedObject final : public IServiceProvider {
public:
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IServiceProvider) {
            *out = static_cast<IServiceProvider*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID, REFIID, void** out) override {
        *out = nullptr;
        return E_NOTIMPL;
    }
};

TEST(ComPtr, ReleasesWhatItHoldsOnceAndHandsItOnWhenMoved) {
    CountedObject object;
    {
        ComPtr<IUnknown> owner;
        *owner.Receive() = &object;
        {
            const ComPtr<IServiceProvider> asked = owner.As<IServiceProvider>();
            EXPECT_TRUE(asked);
            EXPECT_EQ(2u, object.references);
            EXPECT_FALSE(owner.As<IDispatch>()) << "an interface the object lacks";
            EXPECT_EQ(2u, object.references);
        }
        EXPECT_EQ(1u, object.references);
        const ComPtr<IUnknown> moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(1u, object.references);
    }
    EXPECT_EQ(0u, object.references);
}

} // namespace
