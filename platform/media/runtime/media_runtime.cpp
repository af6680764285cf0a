#include "platform/media/runtime/media_runtime.h"

#include <mutex>

#include "platform/com/class_factory.h"
#include "platform/com/runtime.h"
#include "platform/media/filters/inf_tee.h"
#include "platform/media/graph/filter_graph.h"
#include "platform/media/graph/filter_mapper.h"
#include "platform/media/graph/system_device_enum.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/audio_encoder_dmo.h"
#include "platform/media/recording/avi_mux.h"
#include "platform/media/recording/dmo_wrapper_filter.h"
#include "platform/media/recording/file_writer.h"
#include "platform/media/recording/video_encoder_dmo.h"
#include "platform/media/renderers/audio_renderer.h"
#include "platform/media/renderers/video_mixing_renderer.h"

namespace {

const CFactoryTemplate kBuiltinClasses[] = {
    {u"Filter Graph", &CLSID_FilterGraph, &CFilterGraph::CreateInstance},
    {u"System Device Enumerator", &CLSID_SystemDeviceEnum, &CSystemDeviceEnum::CreateInstance},
    {u"Filter Mapper2", &CLSID_FilterMapper2, &CFilterMapper2::CreateInstance},
    {u"Infinite Pin Tee Filter", &CLSID_InfTee, &CInfTee::CreateInstance},
    {u"Video Mixing Renderer 9", &CLSID_VideoMixingRenderer9,
     &CVideoMixingRenderer9::CreateInstance},
    {u"Audio Renderer", &CLSID_DSoundRender, &CAudioRenderer::CreateInstance},
    {u"DMO Wrapper Filter", &CLSID_DMOWrapperFilter, &CDmoWrapperFilter::CreateInstance},
    {u"Video Encoder DMO", &CLSID_VideoEncoderDmo, &CVideoEncoderDmo::CreateInstance},
    {u"Audio Encoder DMO", &CLSID_AudioEncoderDmo, &CAudioEncoderDmo::CreateInstance},
    {u"AVI Mux", &CLSID_AviDest, &CAviMux::CreateInstance},
    {u"File writer", &CLSID_FileWriter, &CFileWriter::CreateInstance},
};

HRESULT GetBuiltinClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return GetClassObjectFromTable(kBuiltinClasses, clsid, riid, ppv);
}

}  // namespace

void RegisterMediaRuntime() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const CFactoryTemplate& entry : kBuiltinClasses)
            CoRegisterBuiltinClass(*entry.clsid, &GetBuiltinClassObject);
    });
}
