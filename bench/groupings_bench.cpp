// Rebuilding the groupings (albums, artists, the alphabetical list, genres) of a 100,000-song library,
// filling a tree from them, and list-of-lists files of the same size.
#include "benchlibrary.h"
#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/groupings/audiotaggenrelist.h"
#include "core/groupings/audiotaglistlist.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

struct Groupings
{
    TaudioTagAlbumList albums;
    TaudioTagArtistList artists;
    TaudioTagArtistList alpha;
    TaudioTagGenreList genres;

    Groupings()
    {
        for (TaudioTagListList* set :
             std::initializer_list<TaudioTagListList*>{&albums, &artists, &alpha, &genres})
            set->SetOwnsObjects(true);
        alpha.SetIsAlphaList(true);
        artists.MappingList().SetText("Prince=\nJohn Smith=\nJon Smith=Smith Jon\n");
    }

    // The library's rebuild after a change of its global list.
    void Rebuild(const std::vector<std::unique_ptr<TaudioTag>>& songs, bool withGenres)
    {
        artists.BeginUpdate();
        albums.BeginUpdate();
        alpha.BeginUpdate();
        genres.BeginUpdate();
        artists.Clear();
        albums.Clear();
        alpha.Clear();
        genres.Clear();
        for (const auto& s : songs) {
            albums.AddTag(s.get());
            artists.AddTag(s.get());
            alpha.AddTag(s.get());
            if (withGenres)
                genres.AddTag(s.get());
        }
        genres.EndUpdate();
        artists.AssignAlbums(albums);
        artists.BuildIndex();
        albums.EndUpdate();
        artists.EndUpdate();
        alpha.EndUpdate();
    }
};

void BM_RebuildGroupings(benchmark::State& state)
{
    const auto songs = GenerateLibrary(static_cast<int>(state.range(0)), state.range(2) != 0);
    Groupings g;
    for (auto _ : state) {
        g.Rebuild(songs, state.range(1) != 0);
        benchmark::DoNotOptimize(g.artists.IndexNames().size());
    }
    state.counters["albums"] = g.albums.GetCount();
    state.counters["artists"] = g.artists.GetCount();
    state.counters["genres"] = g.genres.GetCount();
}
BENCHMARK(BM_RebuildGroupings)
    ->Args({100000, 0, 0})
    ->Args({100000, 1, 0})
    ->Args({100000, 1, 1})
    ->ArgNames({"songs", "genres", "shuffled"})
    ->Unit(benchmark::kMillisecond);

// A tree of plain node records, the shape a view's model keeps.
class NodeTree : public TtreeSink
{
public:
    struct Node
    {
        std::int32_t parent;
        std::string text;
        TaudioTagList* data;
        TtreeNodeKind kind;
    };
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void Clear() override { nodes_.clear(); }
    TtreeNode AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                       TtreeNodeKind kind) override
    {
        nodes_.push_back(Node{parent.Id, std::string(text), data, kind});
        return TtreeNode{static_cast<std::int32_t>(nodes_.size() - 1)};
    }
    void SetText(TtreeNode node, std::string_view text) override
    {
        nodes_[static_cast<std::size_t>(node.Id)].text = text;
    }
    void SetData(TtreeNode node, TaudioTagList* data, TtreeNodeKind kind) override
    {
        nodes_[static_cast<std::size_t>(node.Id)].data = data;
        nodes_[static_cast<std::size_t>(node.Id)].kind = kind;
    }
    void DeleteChildren(TtreeNode) override {}
    std::size_t Size() const { return nodes_.size(); }

private:
    std::vector<Node> nodes_;
};

// Every index name with its artist's albums under one root per first letter, as the library tree is built.
void BM_FillArtistTree(benchmark::State& state)
{
    const auto songs = GenerateLibrary(100000);
    Groupings g;
    g.Rebuild(songs, false);
    NodeTree tree;
    for (auto _ : state) {
        tree.BeginUpdate();
        tree.Clear();
        TtreeNode roots[128];
        for (int c = 0; c < 128; ++c)
            roots[c] = tree.AddChild({}, std::string(1, static_cast<char>(c)), nullptr, tnkNone);
        for (const auto& entry : g.artists.IndexNames()) {
            const auto c = static_cast<unsigned char>(entry.name.empty() ? 0 : entry.name[0]) & 0x7F;
            const TtreeNode node = entry.artist->AddTreeNode(tree, roots[c], true);
            tree.SetText(node, entry.name);
        }
        tree.EndUpdate();
    }
    state.counters["nodes"] = static_cast<double>(tree.Size());
}
BENCHMARK(BM_FillArtistTree)->Unit(benchmark::kMillisecond);

// 200 playlists of 500 songs each.
void BM_ListListFile(benchmark::State& state)
{
    const auto songs = GenerateLibrary(100000);
    TaudioTagListList set; // as the saved playlists: the set owns its lists, the lists their songs
    set.SetOwnsObjects(true);
    set.SetListsOwnObjects(true);
    for (int l = 0; l < 200; ++l) {
        auto* list = new TaudioTagList;
        list->SetTitle("Playlist " + std::to_string(l));
        list->SetOwnsObjects(true);
        for (int k = 0; k < 500; ++k)
            list->AddCopy(songs[static_cast<std::size_t>(l * 500 + k)].get());
        set.Add(list);
    }
    const std::string file =
        (std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(::getpid()) + ".dat"))
            .string();
    const bool load = state.range(0) != 0;
    if (load)
        set.SaveToFile(file);
    for (auto _ : state) {
        if (load) {
            TaudioTagListList back;
            back.SetOwnsObjects(true);
            back.SetListsOwnObjects(true);
            benchmark::DoNotOptimize(back.LoadFromFile(file, false));
        } else {
            set.SaveToFile(file);
        }
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_ListListFile)->Arg(0)->Arg(1)->ArgName("load")->Unit(benchmark::kMillisecond);

} // namespace
