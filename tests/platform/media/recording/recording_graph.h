// A recording graph for tests: a stepped UYVY source (and optionally PCM), the two encoders in
// DMO wrappers, the AVI multiplexer in capture mode and the file writer on a path.
#pragma once

#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/ifile_writer_status.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "tests/platform/media/recording/recording_source.h"

namespace recording_test {

class RecordingGraph {
  public:
    // A new empty graph (the media runtime must be registered); any earlier one is released.
    HRESULT CreateGraph();
    // source -> [video encoder] [audio encoder] -> mux -> writer on `path`, in the graph.
    HRESULT Assemble(const std::string& path, bool withAudio, LONG quality = 0, LONG height = 576,
                     REFERENCE_TIME frameDuration = 400000);
    // Releases everything (the graph is stopped first).
    void Release();

    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<RecordingSource> source;
    RecordingSource::Stream* video = nullptr;
    RecordingSource::Stream* audio = nullptr;
    ComPtr<IBaseFilter> videoEncoder, audioEncoder, mux, writer;
    ComPtr<IFileWriterStatus> status;

  private:
    HRESULT AddEncoder(REFCLSID dmo, REFGUID category, const char16_t* name,
                       ComPtr<IBaseFilter>* filter);
    HRESULT Connect(IBaseFilter* from, const char16_t* pin, IBaseFilter* to);
};

}  // namespace recording_test
