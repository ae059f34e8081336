// The support library side by side with tinyxml2, pugixml and libb64 on the
// same bytes.
#include "support/Base64.h"
#include "support/Xml.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

extern "C" {
#include <b64/cdecode.h>
#include <b64/cencode.h>
}

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

std::string RandomBytes(std::size_t count)
{
    std::mt19937 random(42);
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

std::string CardRequest()
{
    XmlDocument doc("msg", 1);
    XmlNode& ps = doc.AddChild("ps", 1);
    ps.AddChild("usr", "u1");
    ps.AddChild("dom", "d1");
    for (int section = 1; section <= 4; ++section)
        ps.AddChild("typ", section).AddChild("ver", -1);
    return doc.GetXml();
}

void AddFields(XmlNode& typ, std::initializer_list<const char*> tags)
{
    for (const char* tag : tags)
        typ.AddChild(tag, std::string("value of ") + tag + " & more");
}

std::string CardAnswer()
{
    XmlDocument doc("msg", 1);
    XmlNode& ps = doc.AddChild("ps", 1);
    ps.AddChild("usr", "u1");
    ps.AddChild("dom", "d1");
    XmlNode& id = ps.AddChild("typ", 1);
    id.AddChild("err", 201);
    AddFields(id, {"f", "l", "m", "p", "fn", "nk", "e0", "e1", "e2"});
    id.AddChild("c", 0);
    id.AddChild("ver", 4);
    XmlNode& home = ps.AddChild("typ", 2);
    home.AddChild("err", 201);
    AddFields(home, {"a", "ci", "s", "z", "t", "p", "x", "m", "w"});
    home.AddChild("c", 1);
    home.AddChild("ver", 2);
    XmlNode& business = ps.AddChild("typ", 3);
    business.AddChild("err", 201);
    AddFields(business, {"cp", "j", "d", "a", "ci", "s", "z", "t", "p", "x", "m", "w"});
    business.AddChild("c", 0);
    business.AddChild("ver", 9);
    XmlNode& photo = ps.AddChild("typ", 4);
    photo.AddChild("err", 201);
    photo.AddChild("ph", Base64Encode(RandomBytes(8192), true));
    photo.AddChild("c", 0);
    photo.AddChild("ver", 1);
    return doc.GetXml();
}

std::string SearchAnswer(int persons)
{
    XmlDocument doc("msg", 3);
    for (int i = 0; i < persons; ++i) {
        XmlNode& ps = doc.AddChild("ps", 1);
        ps.AddChild("usr", "user" + std::to_string(i));
        ps.AddChild("dom", "example.net");
        ps.AddChild("n", "Person Number " + std::to_string(i));
        ps.AddChild("em", "user" + std::to_string(i) + "@example.net");
        ps.AddChild("cp", "Company");
        ps.AddChild("ci", "City");
        ps.AddChild("s", "State");
        ps.AddChild("t", "Country");
    }
    return doc.GetXml();
}

struct Input {
    const char* name;
    std::string text;
};

void ParseOurs(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        XmlDocument doc;
        benchmark::DoNotOptimize(doc.Parse(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void ParseTinyxml2(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        tinyxml2::XMLDocument doc;
        benchmark::DoNotOptimize(doc.Parse(text.data(), text.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void ParsePugixml(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(text.data(), text.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void WriteOurs(benchmark::State& state, const std::string& text)
{
    XmlDocument doc;
    doc.Parse(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.GetXml());
}

void WriteTinyxml2(benchmark::State& state, const std::string& text)
{
    tinyxml2::XMLDocument doc;
    doc.Parse(text.data(), text.size());
    for (auto _ : state) {
        tinyxml2::XMLPrinter printer(nullptr, true);
        doc.Print(&printer);
        benchmark::DoNotOptimize(printer.CStr());
    }
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void WritePugixml(benchmark::State& state, const std::string& text)
{
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    for (auto _ : state) {
        StringWriter writer;
        doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration);
        benchmark::DoNotOptimize(writer.out.data());
    }
}

void WalkOurs(benchmark::State& state, const std::string& text)
{
    XmlDocument doc;
    doc.Parse(text);
    for (auto _ : state) {
        int count = 0;
        for (const XmlNode* ps = &doc.FindChild("ps"); ps != &EmptyNode(); ps = &doc.FindNextChild("ps", *ps))
            ++count;
        benchmark::DoNotOptimize(count);
    }
}

void WalkTinyxml2(benchmark::State& state, const std::string& text)
{
    tinyxml2::XMLDocument doc;
    doc.Parse(text.data(), text.size());
    for (auto _ : state) {
        int count = 0;
        for (auto* ps = doc.RootElement()->FirstChildElement("ps"); ps; ps = ps->NextSiblingElement("ps"))
            ++count;
        benchmark::DoNotOptimize(count);
    }
}

void WalkPugixml(benchmark::State& state, const std::string& text)
{
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    for (auto _ : state) {
        int count = 0;
        for (auto ps = doc.document_element().child("ps"); ps; ps = ps.next_sibling("ps"))
            ++count;
        benchmark::DoNotOptimize(count);
    }
}

void EncodeOurs(benchmark::State& state, const std::string& bytes)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Base64Encode(bytes, true));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void EncodeLibb64(benchmark::State& state, const std::string& bytes)
{
    std::vector<char> out(bytes.size() * 2 + 16);
    for (auto _ : state) {
        base64_encodestate s;
        base64_init_encodestate(&s);
        int n = base64_encode_block(bytes.data(), static_cast<int>(bytes.size()), out.data(), &s);
        n += base64_encode_blockend(out.data() + n, &s);
        benchmark::DoNotOptimize(std::string(out.data(), static_cast<std::size_t>(n)));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void DecodeOurs(benchmark::State& state, const std::string& bytes)
{
    std::string text = Base64Encode(bytes, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(Base64Decode(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void DecodeLibb64(benchmark::State& state, const std::string& bytes)
{
    std::string text = Base64Encode(bytes, true);
    std::vector<char> out(text.size());
    for (auto _ : state) {
        base64_decodestate s;
        base64_init_decodestate(&s);
        int n = base64_decode_block(text.data(), static_cast<int>(text.size()), out.data(), &s);
        benchmark::DoNotOptimize(std::string(out.data(), static_cast<std::size_t>(n)));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

using Runner = void (*)(benchmark::State&, const std::string&);

void Register(const std::string& group, const std::string& input, const std::string& data,
              std::initializer_list<std::pair<const char*, Runner>> runners)
{
    for (const auto& [library, run] : runners)
        benchmark::RegisterBenchmark((group + "/" + input + "/" + library).c_str(), run, data);
}

// The console's report, keeping each benchmark's CPU time (the median
// when repeated) for the table of goals.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    GoalReporter() : ConsoleReporter(OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        // The median comes after the repetitions it sums up.
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.run_name.str()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    // Each goal: ours against pugixml's time for the same benchmark.
    void PrintGoals() const
    {
        const std::pair<const char*, double> goals[] = {{"Parse/answer8k", 1.0}, {"Parse/search1000", 1.2},
            {"Parse/search10000", 1.2}, {"Write/search10000", 1.5}};
        std::printf("\n%-20s %12s %12s %8s %6s\n", "goal (CPU ns)", "vcard", "pugixml", "ratio", "goal");
        for (const auto& [name, goal] : goals) {
            auto ours = times.find(std::string(name) + "/vcard");
            auto theirs = times.find(std::string(name) + "/pugixml");
            if (ours == times.end() || theirs == times.end())
                continue;
            double ratio = ours->second / theirs->second;
            std::printf("%-20s %12.1f %12.1f %8.2f %6.1f %s\n", name, ours->second, theirs->second, ratio, goal,
                ratio <= goal ? "met" : "missed");
        }
    }

private:
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Input> documents = {
        {"request", CardRequest()},
        {"answer8k", CardAnswer()},
        {"search1000", SearchAnswer(1000)},
        {"search10000", SearchAnswer(10000)},
    };
    for (const Input& doc : documents) {
        Register("Parse", doc.name, doc.text,
                 {{"vcard", ParseOurs}, {"tinyxml2", ParseTinyxml2}, {"pugixml", ParsePugixml}});
        Register("Write", doc.name, doc.text,
                 {{"vcard", WriteOurs}, {"tinyxml2", WriteTinyxml2}, {"pugixml", WritePugixml}});
    }
    for (std::size_t i = 2; i < documents.size(); ++i)
        Register("Walk", documents[i].name, documents[i].text,
                 {{"vcard", WalkOurs}, {"tinyxml2", WalkTinyxml2}, {"pugixml", WalkPugixml}});
    const std::vector<Input> blobs = {{"8k", RandomBytes(8192)}, {"1m", RandomBytes(1 << 20)}};
    for (const Input& blob : blobs) {
        Register("Encode", blob.name, blob.text, {{"vcard", EncodeOurs}, {"libb64", EncodeLibb64}});
        Register("Decode", blob.name, blob.text, {{"vcard", DecodeOurs}, {"libb64", DecodeLibb64}});
    }
    benchmark::Initialize(&argc, argv);
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintGoals();
    benchmark::Shutdown();
    return 0;
}
