#include "sandbox_game.h"

namespace zeko::sandbox {

std::string_view blood_css() {
    return R"css(body {
  background: #140b0d;
  color: #eadfd2;
  font-family: Verdana, "DejaVu Sans", Arial, sans-serif;
  font-size: 14px;
  margin: 1.5em 2em;
}
h1 {
  color: #d8484a;
  font-size: 1.7em;
  font-weight: normal;
  letter-spacing: 0.06em;
  margin: 0 0 0.4em 0;
}
h1 .sandbox {
  color: #8a6f66;
  font-size: 0.55em;
  letter-spacing: 0.2em;
  text-transform: uppercase;
}
a { color: #ff9a85; }
a:visited { color: #e08a9a; }
p { margin: 0.5em 0; }
.greeting { color: #f3e6c8; font-size: 1.1em; }
.message {
  color: #ffc4a8;
  background: #3a1418;
  border-left: 3px solid #c43c3c;
  padding: 0.3em 0.7em;
  display: inline-block;
}
table.map { border-collapse: collapse; margin: 0.8em 0; }
table.map td {
  border: 1px solid #4e2a2e;
  padding: 0;
  vertical-align: top;
}
.cell {
  box-sizing: border-box;
  width: 10.5em;
  height: 8em;
  overflow: hidden;
  padding: 0.35em;
  text-align: center;
}
.cell.block { background: #241417; }
.cell.street { background: #1b1a1e; }
.cell.crossing { background: #201f26; }
.cell.limits { background: #0b0708; color: #6b5a55; }
.cell.here { outline: 2px solid #d8484a; outline-offset: -2px; }
.coords { color: #7d6a64; font-size: 0.75em; }
.label { min-height: 2.6em; padding: 0.2em 0; }
.intersect { color: #ffd37a; font-weight: bold; }
.street { color: #b9b2c6; }
.place { color: #9fe0a8; font-weight: bold; }
.you { color: #d8484a; font-weight: bold; font-size: 0.9em; }
form { margin: 0; }
input[type=submit] {
  background: #3b171b;
  color: #f1e4d6;
  border: 1px solid #8c3a3f;
  border-radius: 3px;
  padding: 0.15em 0.7em;
  cursor: pointer;
  font: inherit;
  font-size: 0.9em;
}
input[type=submit]:hover { background: #5a2228; }
input[type=text] {
  background: #241417;
  color: #ffd37a;
  border: 1px solid #4e2a2e;
  text-align: right;
  font: inherit;
}
.transit { margin: 0.8em 0; }
.transit form, .rest form { display: inline-block; margin: 0.15em 0.2em 0.15em 0; }
.where { color: #c8b8a8; }
.links { margin-top: 1.2em; }
table.map td.cityblock, table.map td.intersect, table.map td.street, table.map td.city {
  color: inherit;
  font-weight: normal;
}
.chat {
  max-height: 14em;
  overflow-y: auto;
  border: 1px solid #4e2a2e;
  padding: 0 0.6em;
  font-size: 0.85em;
  color: #c8b8a8;
}
.chat .who { color: #ff9a85; }
)css";
}

}  // namespace zeko::sandbox
