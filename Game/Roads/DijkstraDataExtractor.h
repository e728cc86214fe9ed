#pragma once

class NQMap;

// The source of the nodes a shortest-path search runs over.
class DijkstraDataExtractor
{
public:
    DijkstraDataExtractor() = default;
    DijkstraDataExtractor(const DijkstraDataExtractor&) = delete;
    DijkstraDataExtractor& operator=(const DijkstraDataExtractor&) = delete;
    virtual ~DijkstraDataExtractor() = default;

    virtual void Extract(NQMap* map) = 0;
};
