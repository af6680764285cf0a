#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/object_base.h"
#include "platform/media/base/cmedia_type.h"
#include "platform/media/interfaces/variant.h"

namespace {

// An object whose references the test can count.
class Counted final : public IUnknown {
  public:
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    ULONG refs = 1;
};

CMediaType VideoType(LONG width) {
    CMediaType mt(MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_UYVY);
    mt.SetFormatType(&FORMAT_VideoInfo);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    vih->bmiHeader.biWidth = width;
    return mt;
}

TEST(MediaType, CopyIsDeepAndHoldsItsOwnReference) {
    Counted unknown;
    CMediaType source = VideoType(720);
    source.pUnk = &unknown;
    unknown.AddRef();

    AM_MEDIA_TYPE copy;
    ASSERT_EQ(CopyMediaType(&copy, &source), S_OK);
    EXPECT_NE(copy.pbFormat, source.pbFormat);
    EXPECT_EQ(std::memcmp(copy.pbFormat, source.pbFormat, sizeof(VIDEOINFOHEADER)), 0);
    EXPECT_EQ(unknown.refs, 3u);

    FreeMediaType(copy);
    EXPECT_EQ(copy.pbFormat, nullptr);
    EXPECT_EQ(copy.cbFormat, 0u);
    EXPECT_EQ(unknown.refs, 2u);
    source.pUnk = nullptr;
    unknown.Release();
}

TEST(MediaType, CreateAndDeleteRoundTrip) {
    CMediaType source = VideoType(352);
    AM_MEDIA_TYPE* copy = CreateMediaType(&source);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(CMediaType(*copy) == source);
    DeleteMediaType(copy);
    DeleteMediaType(nullptr);
}

TEST(MediaType, ValueSemanticsKeepBlocksApart) {
    CMediaType a = VideoType(720);
    CMediaType b = a;
    reinterpret_cast<VIDEOINFOHEADER*>(b.Format())->bmiHeader.biWidth = 640;
    EXPECT_FALSE(a == b);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(a.Format())->bmiHeader.biWidth, 720);

    CMediaType moved = std::move(b);
    EXPECT_EQ(b.Format(), nullptr);  // NOLINT: moved-from state is part of the contract
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(moved.Format())->bmiHeader.biWidth, 640);
    a = moved;
    EXPECT_TRUE(a == moved);
    a = a;  // self-assignment keeps the block
    EXPECT_TRUE(a == moved);
}

TEST(MediaType, PartialMatching) {
    const CMediaType full = VideoType(720);
    CMediaType partial(MEDIATYPE_Video);
    EXPECT_TRUE(partial.IsPartiallySpecified());
    EXPECT_FALSE(full.IsPartiallySpecified());
    EXPECT_TRUE(full.MatchesPartial(&partial));

    partial.SetSubtype(&MEDIASUBTYPE_RGB24);
    EXPECT_FALSE(full.MatchesPartial(&partial));

    CMediaType other = VideoType(640);
    EXPECT_FALSE(full.MatchesPartial(&other));  // same GUIDs, another format block
    EXPECT_TRUE(full.MatchesPartial(&full));
    EXPECT_FALSE(full.MatchesPartial(&static_cast<const CMediaType&>(CMediaType(MEDIATYPE_Audio))));
}

TEST(Variant, StringsCarryTheirLengthAndAreFreedByClear) {
    BSTR text = SysAllocString(u"QVD Grabber Device");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 18u);
    EXPECT_EQ(std::u16string(text), u"QVD Grabber Device");

    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text;
    EXPECT_EQ(VariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
}

}  // namespace
