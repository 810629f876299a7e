-- bench n: 200000
-- Sorts n pseudo-random keys (the rand generator from seed 1) with table.sort.
n = tonumber(os.getenv("BENCH_N")) or 200000
local state = 1
local function rand()
  state = (state * 214013 + 2531011) & 0xFFFFFFFF
  return (state >> 16) & 0x7FFF
end
local a = {}
for i = 1, n do
  a[i] = "k" .. (rand() * 32768 + rand())
end
table.sort(a)
print(a[1] .. " " .. a[n // 2 + 1] .. " " .. a[n])
