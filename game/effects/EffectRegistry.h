#pragma once
// Class-wide registries of live effects. Every effect class (and the thief) keeps the set of
// its live objects, ordered by creation serial: its constructor enters the object, its
// destructor takes it out, nothing else touches the set. The level waits for some sets to run
// empty (messages, score stars) and empties the others when it ends or is destroyed.
//
// Clearing a registry empties the set first and then deletes what it held, in creation order,
// through the virtual destructor. An object that scheduled its own deletion earlier in the
// frame is deleted once: its destructor also takes it out of the deferred-deletion set. An
// object deleted meanwhile by another's destructor (a child, say) is skipped.

#include <cstdint>
#include <map>

#include "engine/scene/cSceneNode.h"

// The live objects of one class by creation serial.
using EffectRegistry = std::map<uint64_t, cSceneNode*>;

// T only names the class; it may be incomplete where the registry is used.
template <class T>
class cEffectRegistry {
public:
    static EffectRegistry& instances() {
        static EffectRegistry live;
        return live;
    }
    static void registerInstance(cSceneNode* node) { instances()[node->getSerial()] = node; }
    static void unregisterInstance(cSceneNode* node) {
        instances().erase(node->getSerial());
        if (s_clearing) s_clearing->erase(node->getSerial());
    }
    static bool isLive(uint64_t serial) { return instances().count(serial) != 0; }
    static size_t count() { return instances().size(); }
    static void clear() {
        EffectRegistry doomed;
        doomed.swap(instances());
        EffectRegistry* outer = s_clearing;
        s_clearing = &doomed;
        while (!doomed.empty()) {
            auto first = doomed.begin();
            cSceneNode* node = first->second;
            doomed.erase(first);
            delete node;
        }
        s_clearing = outer;
    }

private:
    static inline EffectRegistry* s_clearing = nullptr;  // the objects a running clear still has to delete
};

class cFxFlyScore;
class cFxFlyScorePic;
class cFxMessage;
class cThief;
class cFxStar;
class cFxScoreStar;
class cFxTrail;
class cFxPointer;
class cFxWaiterStar;
class cFxScoreSparkle;
class cClickEffect;
class cFxSparkle;
class cFxMoney;

void clearFlyScores();
void clearFlyScorePictures();
void clearMessages();
void clearThieves();
void clearStars();
void clearScoreStars();
void clearTrails();
void clearPointers();
void clearWaiterStars();
void clearSparkleTexts();
void clearClickEffects();
void clearSparkles();

// The level does not end while a message or a score star is alive.
const EffectRegistry& getMessageRegistry();
const EffectRegistry& getScoreStarRegistry();

// The clears the level runs when it ends (flying scores, combo pictures, messages, thieves,
// stars, trails, text sparkles), and the twelve it runs when it is destroyed. Money pieces are
// never cleared: they always end by themselves.
void clearEffectsAtLevelEnd();
void clearEffectsAtLevelDestruction();
