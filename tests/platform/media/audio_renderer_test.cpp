#include <gtest/gtest.h>

#include "platform/media/interfaces/ibasic_audio.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/renderers/audio_renderer.h"
#include "platform/media/renderers/volume.h"
#include "tests/platform/media/media_fixture.h"
#include "tests/platform/media/test_filters.h"
#include "tests/support/temp_dir.h"

namespace media_test {
namespace {

TEST(Volume, HundredthsOfADecibelToGain) {
    EXPECT_EQ(media::GainOf(0), 65536);
    EXPECT_EQ(media::GainOf(-10000), 0);
    EXPECT_EQ(media::GainOf(-20000), 0);
    EXPECT_NEAR(media::GainOf(-600), 32845, 2);  // -6 dB: about one half
    EXPECT_NEAR(media::GainOf(-2000), 6554, 2);  // -20 dB: one tenth

    const std::int16_t in[4] = {32767, -32768, 1000, -1000};
    std::int16_t out[4] = {};
    media::ApplyGains(in, out, 2, 2, media::GainOf(-10000), media::GainOf(-10000));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[3], 0);
    media::ApplyGains(in, out, 2, 2, 65536, 65536);
    EXPECT_EQ(std::vector<std::int16_t>(out, out + 4), std::vector<std::int16_t>(in, in + 4));

    std::int32_t left = 0, right = 0;
    media::StereoGains(0, 10000, &left, &right);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 65536);
    media::StereoGains(-600, -600, &left, &right);
    EXPECT_NEAR(left, 32845, 2);
    EXPECT_NEAR(right, 16461, 2);
}

class AudioRenderTest : public TeeGraphTest {
  protected:
    TestSource::Stream* AddAudioSource(WORD bits) {
        source = TestSource::Create();
        auto* stream = source->AddStream(u"Audio PCM Out", PcmType(2, 48000, bits));
        EXPECT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
        EXPECT_EQ(Plug(source.Get(), u"Audio PCM Out", tee.Get(), u"Input"), S_OK);
        return stream;
    }
    CAudioRenderer* Renderer() {
        ComPtr<IBaseFilter> filter;
        if (graph->FindFilterByName(u"Audio Renderer", filter.ReleaseAndGetAddressOf()) != S_OK)
            return nullptr;
        return static_cast<CAudioRenderer*>(filter.Get());  // kept alive by the graph
    }

    testing_support::ScopedEnv noDevice{"QUADREL_AUDIO_DEVICE", "none"};
    ComPtr<TestSource> source;
};

TEST_F(AudioRenderTest, RenderAddsTheAudioRendererAndForwardsTheVolume) {
    auto* stream = AddAudioSource(16);
    ComPtr<IBasicAudio> audio;
    ASSERT_EQ(graph.As(&audio), S_OK);
    EXPECT_EQ(audio->put_Volume(0), E_NOTIMPL);  // no renderer yet

    ASSERT_EQ(graph->Render(PinOf(tee.Get(), u"Output1").Get()), S_OK);
    ASSERT_NE(Renderer(), nullptr);
    EXPECT_EQ(audio->put_Volume(-10000), S_OK);
    LONG volume = 1;
    ASSERT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -10000);
    EXPECT_EQ(audio->put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(audio->put_Volume(-10001), E_INVALIDARG);
    ASSERT_EQ(audio->get_Volume(&volume), S_OK);
    EXPECT_EQ(volume, -10000);

    // Without a sound device the samples are consumed and the stream keeps flowing: the
    // witness on the second branch gets each sample after the renderer did.
    auto witness = TestSink::Create(MEDIATYPE_Audio);
    ASSERT_EQ(graph->AddFilter(witness.Get(), u"Witness"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output2", witness.Get(), u"In"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    stream->Step(3);
    ASSERT_TRUE(witness->WaitForSamples(3));
    EXPECT_EQ(Renderer()->SamplesReceived(), 3);
    EXPECT_FALSE(Renderer()->IsPlaying());
}

TEST_F(AudioRenderTest, PlaysThroughTheSoundLibrary) {
    // ALSA's "null" device really opens and takes the samples, on any machine.
    testing_support::ScopedEnv nullDevice("QUADREL_AUDIO_DEVICE", "null");
    auto* stream = AddAudioSource(16);
    ASSERT_EQ(graph->Render(PinOf(tee.Get(), u"Output1").Get()), S_OK);
    auto witness = TestSink::Create(MEDIATYPE_Audio);
    ASSERT_EQ(graph->AddFilter(witness.Get(), u"Witness"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output2", witness.Get(), u"In"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(Renderer()->IsPlaying());
    stream->Step(5);
    ASSERT_TRUE(witness->WaitForSamples(5));
    EXPECT_EQ(Renderer()->SamplesReceived(), 5);
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_FALSE(Renderer()->IsPlaying());
}

TEST_F(AudioRenderTest, PcmThatCannotBePlayedIsAPartialRender) {
    AddAudioSource(8);
    EXPECT_EQ(graph->Render(PinOf(tee.Get(), u"Output1").Get()), VFW_S_PARTIAL_RENDER);
    EXPECT_NE(Renderer(), nullptr);
}

TEST_F(AudioRenderTest, NothingToRenderLeavesNoRendererBehind) {
    EXPECT_EQ(graph->Render(PinOf(tee.Get(), u"Output1").Get()), VFW_E_CANNOT_RENDER);
    EXPECT_EQ(Renderer(), nullptr);
    AddAudioSource(16);
    ASSERT_EQ(graph->Render(PinOf(tee.Get(), u"Output1").Get()), S_OK);
    EXPECT_EQ(graph->Render(PinOf(tee.Get(), u"Output1").Get()), VFW_E_ALREADY_CONNECTED);
}

}  // namespace
}  // namespace media_test
