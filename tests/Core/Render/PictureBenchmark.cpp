// Cost of decoding a 1024x1024 picture (DDS and PNG) and of laying out a
// 4 KB paragraph without drawing it.
#include "PictureFixtures.h"

#include "Core/Base/MemoryStream.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageLoader.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace
{
std::vector<uint32_t> Pixels()
{
    std::vector<uint32_t> argb(1024 * 1024);
    for (size_t i = 0; i < argb.size(); ++i)
        argb[i] = uint32_t(i * 2654435761u) | 0x80000000u;
    return argb;
}

void Decode(benchmark::State& state, const fixtures::Bytes& file, const wchar_t* ext)
{
    std::vector<uint32_t> level(1024 * 1024);
    render::HitMask mask;
    for (auto _ : state)
    {
        base::MemoryStream stream(file.data(), file.size());
        std::unique_ptr<render::ImageData> data(render::ImageLoader::Instance()->CreateImageData(&stream, ext, nullptr));
        if (!data || data->Decode(1024 * 4, level.data(), &mask) != HV_OK)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(level.data());
    }
}

void DecodeDds(benchmark::State& state)
{
    fixtures::DdsHeader header;
    header.width = header.height = 1024;
    Decode(state, fixtures::MakeDds(header, fixtures::Argb32(Pixels())), L".dds");
}
BENCHMARK(DecodeDds)->Unit(benchmark::kMillisecond);

void DecodePng(benchmark::State& state)
{
    Decode(state, fixtures::MakePng(1024, 1024, Pixels()), L".png");
}
BENCHMARK(DecodePng)->Unit(benchmark::kMillisecond);

void LayOutParagraph(benchmark::State& state)
{
    std::string xml = "<font><info face=\"B\" size=\"20\" bold=\"0\" italic=\"0\" charset=\"\" unicode=\"1\" "
                      "stretchH=\"100\" smooth=\"1\" aa=\"1\" padding=\"0,0,0,0\" spacing=\"1,1\" outline=\"0\"/>"
                      "<common lineHeight=\"22\" base=\"16\" scaleW=\"256\" scaleH=\"256\" pages=\"1\" packed=\"0\" "
                      "alphaChnl=\"0\" redChnl=\"4\" greenChnl=\"4\" blueChnl=\"4\"/><pages/><chars>";
    for (int c = 32; c < 127; ++c)
        xml += "<char id=\"" + std::to_string(c) +
               "\" x=\"0\" y=\"0\" width=\"8\" height=\"16\" xoffset=\"0\" yoffset=\"0\" xadvance=\"" +
               std::to_string(6 + c % 5) + "\" page=\"0\" chnl=\"15\"/>";
    xml += "</chars></font>";
    render::BMFont font;
    if (font.ParseDescription(xml.c_str()) != HV_OK)
        state.SkipWithError("font");
    std::wstring text;
    const std::wstring words[] = {L"lorem ", L"ipsum ", L"dolor ", L"sit ", L"amet, ", L"consectetur "};
    for (size_t i = 0; text.size() < 4096; ++i)
        text += words[i % 6];
    text.resize(4096);
    render::TextLayout layout;
    layout.wrapWidth = 300;
    for (auto _ : state)
    {
        float size[2];
        font.DrawText(nullptr, nullptr, &text, &layout, size);
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(LayOutParagraph)->Unit(benchmark::kMicrosecond);
} // namespace
