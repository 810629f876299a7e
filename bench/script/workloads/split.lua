-- bench n: 1048576
-- Splits a text of n bytes at every comma into a table.
n = tonumber(os.getenv("BENCH_N")) or 1048576
local s = "alpha,beta,gamma,delta,epsilon,"
while #s < n do
  s = s .. s
end
s = s:sub(1, n)
local parts = {}
local start = 1
while true do
  local at = string.find(s, ",", start, true)
  if not at then
    parts[#parts + 1] = s:sub(start)
    break
  end
  parts[#parts + 1] = s:sub(start, at - 1)
  start = at + 1
end
print(#parts .. " " .. parts[#parts - 1] .. " " .. #parts[#parts])
