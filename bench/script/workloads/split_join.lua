-- bench n: 20000
-- Splits a 100-line text into a table and joins it again, n times.
n = tonumber(os.getenv("BENCH_N")) or 20000
local parts = {"line 0 value 0"}
for i = 1, 99 do
  parts[#parts + 1] = "line " .. i .. " value " .. (i * 7)
end
local text = table.concat(parts, "\n")
local total = 0
local lines
for k = 1, n do
  lines = {}
  local start = 1
  while true do
    local at = string.find(text, "\n", start, true)
    if not at then
      lines[#lines + 1] = text:sub(start)
      break
    end
    lines[#lines + 1] = text:sub(start, at - 1)
    start = at + 1
  end
  local joined = table.concat(lines, "\n")
  total = total + #lines + #joined
end
print(total .. " " .. lines[100])
