// Test fixtures: the component runtime initialised on the test thread and the media runtime's
// classes registered; and a graph with a tee on top of that.
#pragma once

#include <gtest/gtest.h>

#include "platform/com/runtime.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/runtime/media_runtime.h"

namespace media_test {

class MediaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
    }
    void TearDown() override { CoUninitialize(); }
};

// A graph holding an Infinite Pin Tee, stopped and released after each test.
class TeeGraphTest : public MediaTest {
  protected:
    void SetUp() override {
        MediaTest::SetUp();
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        ASSERT_EQ(graph.As(&control), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_InfTee, nullptr, CLSCTX_INPROC_SERVER, &tee), S_OK);
        ASSERT_EQ(graph->AddFilter(tee.Get(), u"Infinite Pin Tee Filter"), S_OK);
    }
    void TearDown() override {
        if (control) control->Stop();
        control = nullptr;
        graph = nullptr;
        tee = nullptr;
        MediaTest::TearDown();
    }

    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> tee;
};

}  // namespace media_test
