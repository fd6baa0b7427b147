// The path graphs of the Data folder: packs/paths/s<S>p<P>.xml for every station layout (S = 1
// with any sauce station, P = 0 to 3 sub places), written from the one readable description
// data/paths/restaurant.txt (its words are explained at its top). The graph of each layout is
// checked before anything is written: every node has a link, every node can be reached from
// every other, every object stands on a node. The waitress reaches only nodes and matches
// them by exact position, so positions are whole numbers written the same way everywhere.
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/datagen/DataGen.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRoomWidth = 800, kRoomHeight = 600;
constexpr size_t kMaxNodes = 199;   // the reader stops at POINT_199

struct Node {
    std::string name;
    int x = 0, y = 0;
    bool needsSauce = false;
    int minPlaces = 0;
    int line = 0;
    bool in(int sauce, int places) const { return (!needsSauce || sauce == 1) && places >= minPlaces; }
    std::string position() const { return std::to_string(x) + "," + std::to_string(y); }
};

struct Link {
    std::string a, b;
    int line = 0;
};

struct Placement {
    std::string element, node;
    int line = 0;
};

struct Layout {
    std::vector<Node> nodes;
    std::vector<Link> links;
    std::vector<Placement> objects;
};

[[noreturn]] void fail(const fs::path& source, int line, const std::string& what) {
    throw std::runtime_error(source.string() + ":" + std::to_string(line) + ": " + what);
}

int wholeNumber(std::istringstream& words, const fs::path& source, int line, const char* what) {
    std::string text;
    words >> text;
    bool ok = !text.empty() && text.size() < 6;
    for (char c : text) ok = ok && c >= '0' && c <= '9';
    if (!ok) fail(source, line, std::string("expected a whole number for ") + what + ", found '" + text + "'");
    return std::stoi(text);
}

Layout parse(const fs::path& source) {
    std::ifstream in(source);
    if (!in) throw std::runtime_error("cannot read " + source.string());
    Layout layout;
    std::map<std::string, int> names, positions, elements;   // -> line
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::string word;
        if (!(words >> word)) continue;
        if (word == "node") {
            Node node;
            node.line = line;
            if (!(words >> node.name)) fail(source, line, "a node needs a name");
            node.x = wholeNumber(words, source, line, "x");
            node.y = wholeNumber(words, source, line, "y");
            if (node.x <= 0 || node.x >= kRoomWidth || node.y <= 0 || node.y >= kRoomHeight)
                fail(source, line, "node " + node.name + " lies outside the room (1..799, 1..599)");
            std::string when, condition;
            if (words >> when) {
                words >> condition;
                if (when == "when" && condition == "sauce") node.needsSauce = true;
                else if (when == "when" && condition.size() == 8 && condition.compare(0, 7, "places>") == 0)
                    fail(source, line, "write places>=N");
                else if (when == "when" && condition.size() == 9 && condition.compare(0, 8, "places>=") == 0 &&
                         condition[8] >= '1' && condition[8] <= '3')
                    node.minPlaces = condition[8] - '0';
                else fail(source, line, "expected 'when sauce' or 'when places>=N' (N 1 to 3)");
            }
            if (words >> word) fail(source, line, "unexpected '" + word + "'");
            if (auto [it, added] = names.emplace(node.name, line); !added)
                fail(source, line, "node " + node.name + " is declared twice (first at line " + std::to_string(it->second) + ")");
            if (auto [it, added] = positions.emplace(node.position(), line); !added)
                fail(source, line, "two nodes at " + node.position() + " (first at line " + std::to_string(it->second) + ")");
            layout.nodes.push_back(node);
        } else if (word == "link") {
            std::vector<std::string> chain;
            while (words >> word) chain.push_back(word);
            if (chain.size() < 2) fail(source, line, "a link joins at least two nodes");
            for (size_t i = 0; i + 1 < chain.size(); ++i) {
                if (chain[i] == chain[i + 1]) fail(source, line, "node " + chain[i] + " is linked to itself");
                layout.links.push_back({chain[i], chain[i + 1], line});
            }
        } else if (word == "object") {
            Placement object;
            object.line = line;
            if (!(words >> object.element >> object.node) || (words >> word))
                fail(source, line, "expected: object ELEMENT NODE");
            if (auto [it, added] = elements.emplace(object.element, line); !added)
                fail(source, line, object.element + " is placed twice (first at line " + std::to_string(it->second) + ")");
            layout.objects.push_back(object);
        } else {
            fail(source, line, "unknown word '" + word + "'");
        }
    }
    for (const Link& link : layout.links)
        for (const std::string& end : {link.a, link.b})
            if (!names.count(end)) fail(source, link.line, "unknown node " + end);
    for (const Placement& object : layout.objects)
        if (!names.count(object.node)) fail(source, object.line, "unknown node " + object.node);
    return layout;
}

// The paths document of one layout; throws when its graph breaks a rule.
std::string layoutXml(const fs::path& source, const Layout& layout, int sauce, int places) {
    const std::string name = "s" + std::to_string(sauce) + "p" + std::to_string(places);
    std::map<std::string, const Node*> present;
    std::vector<const Node*> order;
    for (const Node& node : layout.nodes)
        if (node.in(sauce, places)) {
            present[node.name] = &node;
            order.push_back(&node);
        }
    if (order.size() > kMaxNodes)
        throw std::runtime_error(source.string() + ": layout " + name + " has more than 199 nodes");
    std::map<std::string, std::vector<const Node*>> neighbours;
    for (const Link& link : layout.links) {
        auto a = present.find(link.a), b = present.find(link.b);
        if (a == present.end() || b == present.end()) continue;
        auto& fromA = neighbours[link.a];
        if (std::find(fromA.begin(), fromA.end(), b->second) != fromA.end())
            fail(source, link.line, "link " + link.a + "-" + link.b + " is given twice");
        fromA.push_back(b->second);
        neighbours[link.b].push_back(a->second);
    }
    for (const Node* node : order)
        if (neighbours[node->name].empty()) fail(source, node->line, "node " + node->name + " has no link in layout " + name);
    // Links go both ways, so one walk from the first node finds every node when all are joined.
    std::set<std::string> reached{order.front()->name};
    std::vector<std::string> open{order.front()->name};
    while (!open.empty()) {
        std::string at = open.back();
        open.pop_back();
        for (const Node* next : neighbours[at])
            if (reached.insert(next->name).second) open.push_back(next->name);
    }
    for (const Node* node : order)
        if (!reached.count(node->name))
            fail(source, node->line, "node " + node->name + " cannot be reached from " + order.front()->name + " in layout " + name);

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<paths>\n  <PathPoints>\n";
    for (size_t i = 0; i < order.size(); ++i) {
        xml += "    <POINT_" + std::to_string(i + 1) + " position=\"" + order[i]->position() + "\"";
        int k = 0;
        for (const Node* next : neighbours[order[i]->name])
            xml += " point_" + std::to_string(++k) + "=\"" + next->position() + "\"";
        xml += "/>\n";
    }
    xml += "  </PathPoints>\n  <Objects>\n";
    for (const Placement& object : layout.objects)
        if (auto node = present.find(object.node); node != present.end())
            xml += "    <" + object.element + " control_point=\"" + node->second->position() + "\"/>\n";
    xml += "  </Objects>\n</paths>\n";
    return xml;
}

void generatePaths(const DataGenContext& context) {
    const fs::path source = context.source / "paths" / "restaurant.txt";
    if (!fs::exists(source)) return;
    const Layout layout = parse(source);
    if (layout.nodes.empty()) throw std::runtime_error(source.string() + ": no nodes");
    // Every layout is checked, then the out-of-date ones are written.
    std::vector<std::pair<fs::path, std::string>> files;
    for (int sauce = 0; sauce <= 1; ++sauce)
        for (int places = 0; places <= 3; ++places)
            files.emplace_back(context.out / "packs" / "paths" / ("s" + std::to_string(sauce) + "p" + std::to_string(places) + ".xml"),
                               layoutXml(source, layout, sauce, places));
    for (const auto& [target, xml] : files) {
        if (!isOutOfDate(target, {source})) continue;
        writeUtf16File(target, std::u16string(xml.begin(), xml.end()));   // the text is ASCII
    }
}

}  // namespace

RW_DATAGEN_STEP(paths, 40, generatePaths);
