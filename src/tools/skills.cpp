#include "tools/skills.h"

namespace zeko::tools {

namespace {

constexpr const char* kCrLf = "\r\n";

SKILL skill(const char* name, const char* guild, int32_t cost, const char* description,
            const char* quest) {
    return SKILL{name, guild, quest, description, cost};
}

std::string locate_quest(const char* corners, int pints) {
    return std::string("Your quest is to walk to four corners of the city: ") + corners +
           ". At each corner say \"Check-Point\" so that our watchers hear you. Every corner "
           "costs you " +
           std::to_string(pints) + " pints of blood, so come well fed." + kCrLf + kCrLf +
           "Locate is the art of finding any vampire in the city. The higher you climb, the "
           "less can hide from you.";
}

std::string stamina_quest(int percent) {
    return "Within 10 days of starting the quest, go to the street corner I name for you and "
           "say the word I gave you there. Then wait to be attacked. Survive it, and you gain "
           "a " +
           std::to_string(percent) + " % chance of resisting scrolls of turning.";
}

std::string charisma_quest(int vampires) {
    return "Send " + std::to_string(vampires) +
           " vampires to a slow pub, and make sure each of them tells the barkeep that you "
           "sent them. When they have all been there, come back to me.";
}

std::string celerity_quest(int pubs) {
    return "Bring the items I give you to " + std::to_string(pubs) +
           " pubs of the city, walking every step: no transits, or the quest is lost and you "
           "begin again.";
}

}  // namespace

SkillTable LOAD_SKILLS() {
    const std::string locate_help =
        "Shows you how far away another vampire is, and the further you study it, the more "
        "it tells.";
    return SkillTable{{
        skill("Perception", "Allurists Guild (All)", 7500,
              "You notice vampire hunters before they notice you, and you can hear the coins "
              "jingling in other vampires' pockets: the rob option turns yellow when a vampire "
              "carries coin worth taking.",
              "Your quest is to hunt down a Vampire Hunter (green human) and kill it within 10 "
              "days of starting the quest. Happy Hunting!"),
        skill("Charisma 1", "Allurists Guild 1", 1000,
              "Shop keepers take a liking to you and give you 3 % off everything. Asking humans "
              "for directions costs you 4 AP instead of 5.",
              charisma_quest(3).c_str()),
        skill("Charisma 2", "Allurists Guild 2", 3000,
              "Shop keepers give you 7 % off everything, and asking humans for directions costs "
              "only 2 AP instead of 5.",
              charisma_quest(6).c_str()),
        skill("Charisma 3", "Allurists Guild 3", 5000,
              "Shop keepers give you 10 % off, and knock one more coin off each item for good "
              "measure. Asking humans for directions costs a single AP instead of 5.",
              charisma_quest(9).c_str()),
        skill("Surprise", "Empaths Guild (All)", 20000,
              "You can slip into overcrowded (blue) squares that others cannot enter, which "
              "saves you many a scroll of turning.",
              "There is no quest for this skill. Pay the price and it is yours."),
        skill("Locate 1", "Empaths Guild 1", 1500,
              (locate_help + " At this level you learn a vampire's distance from you.").c_str(),
              locate_quest("Aardvark and 1st, Aardvark and 100th, Zestless and 100th, "
                           "Zestless and 1st",
                           10)
                  .c_str()),
        skill(
            "Locate 2", "Empaths Guild 2", 4000,
            (locate_help + " At this level you learn both the distance and the direction.").c_str(),
            locate_quest("Aardvark and 50th, Zestless and 50th, Zelkova and 1st, Zelkova "
                         "and 100th",
                         15)
                .c_str()),
        skill("Locate 3", "Empaths Guild 3", 15000,
              (locate_help + " At this level you learn the exact street intersection.").c_str(),
              locate_quest("Sycamore and 38th, Sycamore and 63rd, Gypsum and 63rd, Gypsum "
                           "and 38th",
                           25)
                  .c_str()),
        skill("Suction", "Immolators Guild (All)", 7500,
              "You drink deeper: 2 to 4 pints from each human you bite, and 2 pints from each "
              "vampire.",
              "Bite 20 vampires of a higher blood level than yours and drink their blood. Come "
              "back when you have tasted all twenty."),
        skill("Stamina 1", "Immolators Guild 1", 1000,
              "Costs you 500 pints of blood on top of the coin, and raises your maximum AP "
              "by 10.",
              stamina_quest(25).c_str()),
        skill("Stamina 2", "Immolators Guild 2", 2500,
              "Costs you 1000 pints of blood on top of the coin, and raises your maximum AP "
              "by another 10.",
              stamina_quest(50).c_str()),
        skill("Stamina 3", "Immolators Guild 3", 5000,
              "Costs you 1500 pints of blood on top of the coin, and raises your maximum AP "
              "by a further 10.",
              stamina_quest(75).c_str()),
        skill("Thievery 1", "Thievery Guild 1", 2000,
              "Lets you rob up to 25 % of the coin another vampire carries. Banks, sadly, "
              "cannot be robbed.",
              "No quest. Bring the coin and we teach you."),
        skill("Thievery 2", "Thievery Guild 2", 5000,
              "Lets you rob up to 50 % of the coin another vampire carries. Banks still cannot "
              "be robbed.",
              "No quest. Bring the coin and we teach you."),
        skill("Thievery 3", "Thievery Guild 3", 10000,
              "Lets you rob up to 75 % of the coin another vampire carries. Not even we can "
              "rob a bank.",
              "No quest. Bring the coin and we teach you."),
        skill("Shadows 1", "Thievery Guild 1", 1000,
              "You fall into the shadows after 3 days without acting, and into the deep "
              "shadows after 6, where others have a hard time finding you.",
              "No quest for this one. The shadows come to those who pay."),
        skill("Shadows 2", "Thievery Guild 2", 2000,
              "You fall into the shadows after 2 days without acting, and into the deep "
              "shadows after 4.",
              "No quest for this one. The shadows come to those who pay."),
        skill("Shadows 3", "Thievery Guild 3", 4000,
              "You fall into the shadows after a single day without acting, and into the deep "
              "shadows after 2. You can also throw two garlic sprays at once.",
              "No quest for this one. The shadows come to those who pay."),
        skill("Celerity 1", "Travellers Guild 1", 4000,
              "Your AP come back 5 minutes faster than other vampires' do: one every 25 minutes.",
              celerity_quest(3).c_str()),
        skill("Celerity 2", "Travellers Guild 2", 8000,
              "Your AP come back another 5 minutes faster: one every 20 minutes.",
              celerity_quest(6).c_str()),
        skill("Celerity 3", "Travellers Guild 3", 17500,
              "Your AP come back faster still, 5 minutes sooner again: one every 15 minutes.",
              celerity_quest(12).c_str()),
        skill("Telepathy 1", "Travellers Guild 1", 2500,
              "Send messages to any vampire for 10 AP, or for 5 AP to a sire or childer.",
              "No quest beyond the 10 AP it takes to learn."),
        skill("Telepathy 2", "Travellers Guild 2", 5000,
              "Send messages to any vampire for 6 AP, or for 3 AP to a sire or childer.",
              "No quest beyond the 10 AP it takes to learn."),
        skill("Telepathy 3", "Travellers Guild 3", 10000,
              "Send messages to any vampire for 2 AP, or for a single AP to a sire or childer.",
              "No quest beyond the 10 AP it takes to learn."),
        skill("Second Sight", "Donation required...", 0,
              "For 1 AP you see another vampire's skills, childers, companions and sires, and "
              "where it stands.",
              "This skill is bought with a donation made through a payment service. See the "
              "program's Skills menu for how."),
        skill("Battle Cloak", "Peace Keepers (Any)", 2000,
              "Bought from a peace mission. Cloaked vampires cannot attack uncloaked ones, nor "
              "be attacked by them, and must rest after being zeroed until they are back to "
              "250 BP.",
              "Putting the cloak on costs 2000 coin. Taking it off again costs 50,000 coin and "
              "250 BP, so think before you wear it.\r\n\r\n"
              "The Peace Keepers would like you to know that the cloak is not a fashion "
              "statement, however well it goes with your fangs.\r\n\r\n"
              "Nor does it make you invisible. We have had complaints."),
    }};
}

std::string SKILL_TEXT(const SKILL& skill) {
    std::string text = skill.Name + kCrLf + kCrLf + skill.Guild + kCrLf + kCrLf;
    if (skill.Cost != 0) {
        text += "Price: " + std::to_string(skill.Cost) + " Coin." + kCrLf + kCrLf;
    } else {
        text += std::string("Price: $5.00 US") + kCrLf +
                "(includes another skill of your choice!)" + kCrLf + kCrLf;
    }
    text += std::string("Skill Description: ") + kCrLf + skill.Description + kCrLf + kCrLf;
    text += std::string("Quest 'n' stuff: ") + kCrLf + skill.Quest;
    return text;
}

std::string skill_entry(const SKILL& skill) {
    return "  " + skill.Name;
}

}  // namespace zeko::tools
