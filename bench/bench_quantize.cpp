// Quantization speed and quality: the octree palette plus Floyd-Steinberg
// dithering against ImageMagick's "-colors 256 -dither FloydSteinberg" on
// the same pictures, made by ImageMagick in a scratch folder at run time.
//
//   build/native/bench/bench_quantize [scratch folder]
// The scratch folder defaults to the program's own, inside the build folder.
#include "gifimage/reduce.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const Convert = "/usr/bin/convert";

struct TPicture {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;  // packed red, green, blue, top row first
};

// Binary PPM (P6, maxval 255), as ImageMagick writes it.
TPicture ReadPpm(const std::string& Path)
{
    TPicture p;
    std::ifstream in(Path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> p.Width >> p.Height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255 || p.Width <= 0 || p.Height <= 0) {
        std::fprintf(stderr, "cannot read %s\n", Path.c_str());
        std::exit(1);
    }
    p.Rgb.resize(std::size_t(p.Width) * p.Height * 3);
    in.read(reinterpret_cast<char*>(p.Rgb.data()), std::streamsize(p.Rgb.size()));
    return p;
}

double Psnr(const TPicture& A, const TPicture& B)
{
    double sum = 0;
    for (std::size_t i = 0; i < A.Rgb.size(); ++i) {
        const double d = double(A.Rgb[i]) - B.Rgb[i];
        sum += d * d;
    }
    const double mse = sum / double(A.Rgb.size());
    return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}

double Seconds(std::chrono::steady_clock::duration D) { return std::chrono::duration<double>(D).count(); }

void Run(const std::string& Command)
{
    if (std::system(Command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", Command.c_str());
        std::exit(1);
    }
}

// Our reduction: octree palette of 256 colours, then Floyd-Steinberg.
// Answers the picture rebuilt from the palette and the best time of three runs.
TPicture Reduce(const TPicture& Source, double& Best)
{
    std::vector<uint8_t> bgr(Source.Rgb.size());
    for (std::size_t i = 0; i < bgr.size(); i += 3) {
        bgr[i] = Source.Rgb[i + 2];
        bgr[i + 1] = Source.Rgb[i + 1];
        bgr[i + 2] = Source.Rgb[i];
    }
    const TPixelRows rows{bgr.data(), std::ptrdiff_t(Source.Width) * 3, Source.Width, Source.Height};
    std::vector<uint8_t> indices(std::size_t(Source.Width) * Source.Height);
    std::vector<TPaletteEntry> palette;
    Best = INFINITY;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        palette = PaletteFromQuantizer({rows}, 256, 8, nullptr);
        ReducePixels(rows, TEntryPalette(palette), rmQuantize, dmFloydSteinberg, indices.data(), Source.Width);
        Best = std::min(Best, Seconds(std::chrono::steady_clock::now() - start));
    }
    TPicture out = Source;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const TPaletteEntry& e = palette[indices[i]];
        out.Rgb[3 * i] = e.peRed;
        out.Rgb[3 * i + 1] = e.peGreen;
        out.Rgb[3 * i + 2] = e.peBlue;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : argv[0];
    if (argc <= 1) dir = dir.substr(0, dir.find_last_of('/') + 1) + ".";
    Run(std::string(Convert) + " -version | head -n 1");
    struct TSource {
        const char* Name;
        const char* Make;  // ImageMagick arguments that draw the picture
    };
    const TSource sources[] = {
        {"plasma", "-seed 17 -size 640x480 plasma:fractal"},
        {"rose", "rose: -filter Lanczos -resize 800%"},
        {"wizard", "wizard:"},
        {"logo", "logo:"},
        {"gradient", "-size 640x480 radial-gradient:gold-navy"},
    };

    std::printf("%-9s %9s | %-28s | %-28s\n", "picture", "pixels", "octree + Floyd-Steinberg",
                "ImageMagick (less its file work)");
    std::printf("%-9s %9s | %8s %9s %9s | %8s %9s %9s\n", "", "", "seconds", "Mpixel/s", "PSNR dB", "seconds",
                "Mpixel/s", "PSNR dB");
    for (const TSource& s : sources) {
        const std::string original = dir + "/bench_quantize_" + s.Name + ".ppm";
        const std::string reduced = dir + "/bench_quantize_" + s.Name + "_im.ppm";
        Run(std::string(Convert) + " " + s.Make + " -depth 8 " + original);
        const TPicture source = ReadPpm(original);
        const double mpixels = double(source.Width) * source.Height / 1e6;

        double ours = 0;
        const double oursPsnr = Psnr(source, Reduce(source, ours));

        // ImageMagick's time: the best of three runs, less the best of three
        // plain copies (starting the program, reading and writing the files).
        const auto best = [&](const std::string& Arguments) {
            double t = INFINITY;
            for (int run = 0; run < 3; ++run) {
                const auto start = std::chrono::steady_clock::now();
                Run(std::string(Convert) + " " + original + " " + Arguments + " " + reduced);
                t = std::min(t, Seconds(std::chrono::steady_clock::now() - start));
            }
            return t;
        };
        const double copying = best("");
        const double theirs = best("-dither FloydSteinberg -colors 256") - copying;
        const double theirsPsnr = Psnr(source, ReadPpm(reduced));

        std::printf("%-9s %9d | %8.3f %9.1f %9.2f | %8.3f %9.1f %9.2f\n", s.Name, source.Width * source.Height,
                    ours, mpixels / ours, oursPsnr, theirs, mpixels / theirs, theirsPsnr);
    }
    return 0;
}
