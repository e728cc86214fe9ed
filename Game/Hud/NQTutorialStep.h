#pragma once

#include <map>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace tinyxml2
{
class XMLElement;
}

class NQTutorial;
struct NQTutorialCommand;

// One lesson of the tutorial: idle until its activation event, then active
// with its hints shown until its completion event, then done. The progress
// record keeps the state; the step only caches it.
class NQTutorialStep
{
public:
    static constexpr int kIdle = 0;
    static constexpr int kActive = 1;
    static constexpr int kDone = 2;
    // The condition switch that restricts a step to its episode and level.
    static constexpr int kLevelOnly = -1;

    NQTutorialStep(NQTutorial* tutorial, file::ImageContainer* hintPictures);
    ~NQTutorialStep();
    NQTutorialStep(const NQTutorialStep&) = delete;
    NQTutorialStep& operator=(const NQTutorialStep&) = delete;

    // False when the step lacks its "condition" or "show" element.
    bool Load(const tinyxml2::XMLElement* element);
    // The "cmd" children of a command list, appended in order.
    static void ReadCommands(const tinyxml2::XMLElement* list, std::vector<NQTutorialCommand*>& commands);
    // True when the event activated or completed the step.
    bool OnEvent(const std::wstring& event);
    void Activate();
    void Complete();

    NQTutorial* mTutorial;
    file::ImageContainer* mHintPictures;
    int mId = 0;
    int mState = kIdle;
    std::wstring mActivate;
    std::wstring mComplete;
    int mLevel = 0;
    int mEpisode = 0;
    int mShop = 0;
    std::vector<NQTutorialCommand*>* mOnActivate = nullptr;
    std::vector<NQTutorialCommand*>* mOnComplete = nullptr;
    std::wstring mShowFolder;
    std::map<std::wstring, std::wstring> mTexts;

private:
    bool ConditionHolds() const;
    // Applies every command of the list in order.
    static void RunCommands(const std::vector<NQTutorialCommand*>* commands);
    static void RunCommand(const NQTutorialCommand& command);
};
